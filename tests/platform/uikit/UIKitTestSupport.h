#pragma once

#include <string>
#include <vector>

#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/AppearanceRegistry.h"
#include "platform/uikit/DeviceEventLog.h"

// Puts the process-wide UIKit state that a test may change back as it found it: the device's
// appearance and installed URL schemes, the appearance proxies' values and the device event log.
class UIKitStateGuard {
public:
    UIKitStateGuard()
        : m_appearance(platform::SimulatedDevice::appearance()),
          m_schemes(platform::SimulatedDevice::installedURLSchemes()) {
        platform::AppearanceRegistry::shared().removeAllValues();
        platform::DeviceEventLog::shared().take();
    }
    ~UIKitStateGuard() {
        platform::SimulatedDevice::setAppearance(m_appearance);
        platform::SimulatedDevice::setInstalledURLSchemes(m_schemes);
        platform::AppearanceRegistry::shared().removeAllValues();
        platform::DeviceEventLog::shared().take();
    }
    UIKitStateGuard(const UIKitStateGuard&) = delete;
    UIKitStateGuard& operator=(const UIKitStateGuard&) = delete;

private:
    platform::SimulatedDevice::Appearance m_appearance;
    std::vector<std::string> m_schemes;
};
