#pragma once

#include <memory>
#include <string>

#include "platform/foundation/NSURL.h"
#include "platform/foundation/Value.h"

namespace merrow {

// The manifest server's base URL without a trailing slash: $MERROW_MANIFEST_SERVER when set and not
// empty, else the compiled-in MERROW_MANIFEST_SERVER default.
std::string manifestServer();
// The manifest's address on that server; nil when the base is not a URL.
std::shared_ptr<NSURL> manifestURL();
// What an alert can be built from: an object whose "alert" is an object with a string "body" and a
// string "rejection_title". Anything else counts as a failed download.
bool isAcceptableManifest(const Value& manifest);

} // namespace merrow
