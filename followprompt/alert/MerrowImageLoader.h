#pragma once

#include <chrono>
#include <memory>

#include "platform/foundation/Value.h"
#include "platform/uikit/UIImage.h"

namespace merrow {

// Reads a picture synchronously from a URL string, giving up after `timeout` so that an image
// server that never answers cannot hold the caller (SpringBoard's main thread) for long. Nil for
// anything that is not a URL string, an unreachable URL or data that is not a picture, and for a
// loopback address unless the manifest itself comes from loopback.
std::shared_ptr<UIImage> loadImageSynchronously(const Value& urlString,
                                                std::chrono::milliseconds timeout = std::chrono::seconds(10));

} // namespace merrow
