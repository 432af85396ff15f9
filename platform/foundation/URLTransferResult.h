#pragma once

#include <memory>

#include "foundation/NSData.h"
#include "foundation/NSError.h"
#include "foundation/NSHTTPURLResponse.h"

namespace platform {

// How a transfer ended: data and response (whatever the HTTP status), or an error and nothing else.
struct URLTransferResult {
    std::shared_ptr<NSData> data;
    std::shared_ptr<NSHTTPURLResponse> response;
    NSErrorPtr error;
};

} // namespace platform
