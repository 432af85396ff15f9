#pragma once

#include "platform/foundation/ResetForTesting.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/AppearanceRegistry.h"
#include "platform/uikit/DeviceEventLog.h"

// The process-wide state a test may change starts and ends as a new process finds it: the device's
// appearance and installed URL schemes, the appearance proxies' values, the device event log and the
// rest that platform::resetForTesting covers.
class UIKitStateGuard {
public:
    UIKitStateGuard() { platform::resetForTesting(); }
    ~UIKitStateGuard() { platform::resetForTesting(); }
    UIKitStateGuard(const UIKitStateGuard&) = delete;
    UIKitStateGuard& operator=(const UIKitStateGuard&) = delete;
};
