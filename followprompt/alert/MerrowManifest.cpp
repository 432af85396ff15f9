#include "followprompt/alert/MerrowManifest.h"

#include <cstdlib>

#ifndef MERROW_MANIFEST_SERVER
#define MERROW_MANIFEST_SERVER "https://halcyra.example"
#endif

namespace merrow {

namespace {

constexpr const char* manifestPath = "/static/app/merrow/manifest.json";

} // namespace

std::string manifestServer() {
    const char* configured = std::getenv("MERROW_MANIFEST_SERVER");
    std::string base = configured && *configured ? configured : MERROW_MANIFEST_SERVER;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    return base;
}

std::shared_ptr<NSURL> manifestURL() {
    return NSURL::URLWithString(manifestServer() + manifestPath);
}

bool isAcceptableManifest(const Value& manifest) {
    const Value& alert = manifest["alert"];
    return manifest.isDictionary() && alert.isDictionary() && alert["body"].isString() &&
           alert["rejection_title"].isString();
}

} // namespace merrow
