#include "hosts/devserver/CreditsCatalog.h"

#include "hosts/devserver/CompactJSON.h"
#include "hosts/devserver/CreditsHash.h"
#include "hosts/devserver/Sha256.h"

namespace corvale::devserver {

CreditsCatalog::CreditsCatalog(ContentFolder folder) : m_folder(std::move(folder)) {}

CreditsLookup CreditsCatalog::lookup(std::string_view tweakName) const {
    auto source = m_folder.readCreditsSource(tweakName);
    if (source.status != LookupStatus::found) {
        return {source.status, {}, {}};
    }
    auto credits = parseJSON(source.bytes);
    if (!credits.is_object()) {
        return {
            LookupStatus::unusable, {}, "credits/" + std::string(tweakName) + ".json is not a JSON object"};
    }
    credits.erase("success");
    credits.erase("hash");
    stampAssetHashes(credits);
    credits["hash"] = creditsHash(credits);
    credits["success"] = true;
    return {LookupStatus::found, std::move(credits), {}};
}

void CreditsCatalog::stampAssetHashes(nlohmann::json& credits) const {
    auto people = credits.find("credits");
    if (people == credits.end() || !people->is_array()) {
        return;
    }
    for (auto& person : *people) {
        if (!person.is_object()) {
            continue;
        }
        auto logo = person.find("logo");
        if (logo != person.end() && logo->is_object()) {
            stampLogo(*logo);
        }
    }
}

void CreditsCatalog::stampLogo(nlohmann::json& logo) const {
    for (auto& variant : logo) {
        if (!variant.is_object()) {
            continue;
        }
        auto name = variant.find("url");
        if (name == variant.end() || !name->is_string()) {
            continue;
        }
        auto asset = m_folder.readAsset(name->get_ref<const std::string&>());
        if (asset.status == LookupStatus::found) {
            variant["hash"] = sha256Hex(asset.bytes);
        }
    }
}

} // namespace corvale::devserver
