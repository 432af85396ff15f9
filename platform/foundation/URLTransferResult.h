#pragma once

#include <memory>

#include "platform/foundation/NSData.h"
#include "platform/foundation/NSError.h"
#include "platform/foundation/NSHTTPURLResponse.h"

namespace platform {

// How a transfer ended: data and response (whatever the HTTP status), or an error and nothing else.
struct URLTransferResult {
    std::shared_ptr<NSData> data;
    std::shared_ptr<NSHTTPURLResponse> response;
    NSErrorPtr error;
};

} // namespace platform
