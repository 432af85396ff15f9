#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/uikit/UIImage.h"

namespace merrow {

// One picture of the header: its URL string from the manifest and the side in points of the
// square it is shown in.
struct HeaderPicture {
    Value urlString;
    double side = 0;
};

// Fetches the pictures synchronously, all at once, and gives up on every one that has not arrived
// and decoded within `deadline` of the call, together: servers that never answer cannot hold the
// caller (SpringBoard's main thread) for longer than that. Only https: URLs are fetched (http: to
// loopback under the session's rule); a file: URL or any other scheme is never read. Each picture
// is decoded on the session's queue, no larger than its side at the main screen's scale. Nil for
// anything that is not such a URL string, an unreachable URL or data that is not a picture, and for
// a loopback address unless the manifest itself comes from loopback.
std::vector<std::shared_ptr<UIImage>>
loadImagesSynchronously(const std::vector<HeaderPicture>& pictures,
                        std::chrono::milliseconds deadline = std::chrono::milliseconds(2500));

std::shared_ptr<UIImage>
loadImageSynchronously(const Value& urlString,
                       std::chrono::milliseconds deadline = std::chrono::milliseconds(2500));

} // namespace merrow
