#pragma once

#include <string>
#include <vector>

#include "platform/foundation/NSOperatingSystemVersion.h"
#include "platform/foundation/ResetForTesting.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/foundation/Value.h"
#include "platform/uikit/DeviceEventLog.h"

// The simulated device (OS version, installed URL schemes), the device event log and the rest that
// platform::resetForTesting covers start and end as a new process finds them.
class DeviceStateGuard {
public:
    DeviceStateGuard() { platform::resetForTesting(); }
    ~DeviceStateGuard() { platform::resetForTesting(); }
    DeviceStateGuard(const DeviceStateGuard&) = delete;
    DeviceStateGuard& operator=(const DeviceStateGuard&) = delete;

    static void runOS(const char* version) {
        platform::SimulatedDevice::setOSVersion(*platform::parseVersion(version));
    }
};

// One background item of the header.
inline Value backgroundItem(const std::string& name, Value prominence) {
    return Value::dictionary({{"name", name}, {"prominence", std::move(prominence)}});
}
