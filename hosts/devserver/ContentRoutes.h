#pragma once

#include <httplib.h>
#include <string>

#include "hosts/devserver/ContentFolder.h"
#include "hosts/devserver/CreditsCatalog.h"

namespace corvale::devserver {

// The endpoints, as a client sees them:
//   GET /credits/<tweak>                  the tweak's credits with "success": true and "hash"
//   GET /credits/<tweak>/hash             {"hash": ...}, the same hash
//   GET /credits/asset/<name>             the asset's bytes, header X-Asset-Hash: SHA-256 of them
//   GET /static/app/merrow/manifest.json  the manifest, "{server}" replaced by the server's base URL
// Failures answer {"success": false}: 400 for a name that can never be valid, 404 for an unknown
// one, 500 for a content file that cannot be read or parsed.
class ContentRoutes {
public:
    static constexpr const char* serverPlaceholder = "{server}";

    explicit ContentRoutes(ContentFolder folder);

    // Set once the port is known, before the first request is served.
    void setServerBaseURL(std::string baseURL) { m_serverBaseURL = std::move(baseURL); }

    void install(httplib::Server& server) const;

private:
    void serveCredits(const httplib::Request& request, httplib::Response& response) const;
    void serveCreditsHash(const httplib::Request& request, httplib::Response& response) const;
    void serveAsset(const httplib::Request& request, httplib::Response& response) const;
    void serveManifest(const httplib::Request& request, httplib::Response& response) const;

    ContentFolder m_folder;
    CreditsCatalog m_catalog;
    std::string m_serverBaseURL;
};

// Fills in the failure body for error statuses that no route has described.
void describeFailure(httplib::Response& response);

} // namespace corvale::devserver
