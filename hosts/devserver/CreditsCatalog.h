#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "hosts/devserver/ContentFolder.h"
#include "hosts/devserver/LookupStatus.h"

namespace corvale::devserver {

struct CreditsLookup {
    LookupStatus status = LookupStatus::notFound;
    nlohmann::json response; // the whole answer, with "success" and "hash", when found
    std::string problem;     // why a file that exists could not be served
};

// Turns credits/<tweak name>.json into the answer of the credits endpoint. Every logo variant whose
// "url" names an asset of the content folder gets that asset's hash as its "hash", so a picture
// edited on disk reaches clients without anyone updating the credits by hand.
class CreditsCatalog {
public:
    explicit CreditsCatalog(ContentFolder folder);

    CreditsLookup lookup(std::string_view tweakName) const;

private:
    void stampAssetHashes(nlohmann::json& credits) const;
    void stampLogo(nlohmann::json& logo) const;

    ContentFolder m_folder;
};

} // namespace corvale::devserver
