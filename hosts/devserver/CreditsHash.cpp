#include "hosts/devserver/CreditsHash.h"

#include "hosts/devserver/CompactJSON.h"
#include "hosts/devserver/Sha256.h"

namespace corvale::devserver {

std::string creditsHash(const nlohmann::json& credits) {
    auto hashed = credits;
    if (hashed.is_object()) {
        hashed.erase("success");
        hashed.erase("hash");
    }
    return sha256Hex(compactJSON(hashed));
}

} // namespace corvale::devserver
