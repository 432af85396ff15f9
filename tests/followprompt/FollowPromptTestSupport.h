#pragma once

#include <string>
#include <vector>

#include "platform/foundation/NSOperatingSystemVersion.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/foundation/Value.h"
#include "platform/uikit/DeviceEventLog.h"

// Puts the simulated device back as the test found it: OS version and installed URL schemes; the
// device event log starts and ends empty.
class DeviceStateGuard {
public:
    DeviceStateGuard()
        : m_version(platform::SimulatedDevice::osVersion()),
          m_schemes(platform::SimulatedDevice::installedURLSchemes()) {
        platform::DeviceEventLog::shared().take();
    }
    ~DeviceStateGuard() {
        platform::SimulatedDevice::setOSVersion(m_version);
        platform::SimulatedDevice::setInstalledURLSchemes(m_schemes);
        platform::DeviceEventLog::shared().take();
    }
    DeviceStateGuard(const DeviceStateGuard&) = delete;
    DeviceStateGuard& operator=(const DeviceStateGuard&) = delete;

    static void runOS(const char* version) {
        platform::SimulatedDevice::setOSVersion(*platform::parseVersion(version));
    }

private:
    NSOperatingSystemVersion m_version;
    std::vector<std::string> m_schemes;
};

// One background item of the header.
inline Value backgroundItem(const std::string& name, Value prominence) {
    return Value::dictionary({{"name", name}, {"prominence", std::move(prominence)}});
}
