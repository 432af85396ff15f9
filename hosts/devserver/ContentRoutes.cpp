#include "hosts/devserver/ContentRoutes.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

#include "hosts/devserver/CompactJSON.h"
#include "hosts/devserver/Sha256.h"

namespace corvale::devserver {

namespace {

constexpr const char* jsonType = "application/json";

std::string lowercaseExtension(std::string_view name) {
    auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return {};
    }
    std::string extension(name.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return extension;
}

std::string mediaTypeForAsset(std::string_view name) {
    static constexpr std::array<std::pair<const char*, const char*>, 8> types{{
        {"png", "image/png"},
        {"jpg", "image/jpeg"},
        {"jpeg", "image/jpeg"},
        {"gif", "image/gif"},
        {"webp", "image/webp"},
        {"svg", "image/svg+xml"},
        {"json", "application/json"},
        {"txt", "text/plain; charset=utf-8"},
    }};
    auto extension = lowercaseExtension(name);
    for (const auto& [known, type] : types) {
        if (extension == known) {
            return type;
        }
    }
    return "application/octet-stream";
}

void answerFailure(httplib::Response& response, LookupStatus status, const std::string& problem = {}) {
    if (!problem.empty()) {
        std::fprintf(stderr, "corvale-devserver: %s\n", problem.c_str());
    }
    response.status = httpStatusFor(status);
    response.set_content(compactJSON({{"success", false}}), jsonType);
}

std::string replaceAll(std::string text, std::string_view placeholder, std::string_view replacement) {
    for (auto at = text.find(placeholder); at != std::string::npos;
         at = text.find(placeholder, at + replacement.size())) {
        text.replace(at, placeholder.size(), replacement);
    }
    return text;
}

} // namespace

void describeFailure(httplib::Response& response) {
    if (response.status >= 400 && response.body.empty()) {
        response.set_content(compactJSON({{"success", false}}), jsonType);
    }
}

ContentRoutes::ContentRoutes(ContentFolder folder) : m_folder(folder), m_catalog(std::move(folder)) {}

void ContentRoutes::install(httplib::Server& server) const {
    // Registration order matters: "/credits/asset/hash" names an asset, not the hash of a tweak
    // called "asset".
    server.Get(R"(/credits/asset/(.*))",
               [this](const auto& request, auto& response) { serveAsset(request, response); });
    server.Get(R"(/credits/([^/]*)/hash)",
               [this](const auto& request, auto& response) { serveCreditsHash(request, response); });
    server.Get(R"(/credits/([^/]*))",
               [this](const auto& request, auto& response) { serveCredits(request, response); });
    server.Get(R"(/static/app/merrow/manifest\.json)",
               [this](const auto& request, auto& response) { serveManifest(request, response); });
}

void ContentRoutes::serveCredits(const httplib::Request& request, httplib::Response& response) const {
    auto credits = m_catalog.lookup(request.matches[1].str());
    if (credits.status != LookupStatus::found) {
        answerFailure(response, credits.status, credits.problem);
        return;
    }
    response.set_content(compactJSON(credits.response), jsonType);
}

void ContentRoutes::serveCreditsHash(const httplib::Request& request, httplib::Response& response) const {
    auto credits = m_catalog.lookup(request.matches[1].str());
    if (credits.status != LookupStatus::found) {
        answerFailure(response, credits.status, credits.problem);
        return;
    }
    response.set_content(compactJSON({{"hash", credits.response["hash"]}}), jsonType);
}

void ContentRoutes::serveAsset(const httplib::Request& request, httplib::Response& response) const {
    auto name = request.matches[1].str();
    auto asset = m_folder.readAsset(name);
    if (asset.status != LookupStatus::found) {
        answerFailure(response, asset.status);
        return;
    }
    response.set_header("X-Asset-Hash", sha256Hex(asset.bytes));
    response.set_content(asset.bytes, mediaTypeForAsset(name));
}

void ContentRoutes::serveManifest(const httplib::Request&, httplib::Response& response) const {
    auto manifest = m_folder.readManifest();
    if (manifest.status != LookupStatus::found) {
        answerFailure(response, manifest.status);
        return;
    }
    response.set_content(replaceAll(std::move(manifest.bytes), serverPlaceholder, m_serverBaseURL), jsonType);
}

} // namespace corvale::devserver
