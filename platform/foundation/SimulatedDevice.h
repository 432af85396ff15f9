#pragma once

#include <string>
#include <vector>

#include "foundation/NSOperatingSystemVersion.h"

namespace platform {

// What the simulated device is: its OS release, its screen's scale and the application the process
// plays. Hosts set these from their command line; everything else reads them. Safe from any thread.
class SimulatedDevice {
public:
    // 14.0.0, or $CORVALE_OS_VERSION when it holds a valid version, until set otherwise.
    static NSOperatingSystemVersion osVersion();
    static void setOSVersion(NSOperatingSystemVersion version);

    // Empty when the process plays no application; "com.apple.Preferences" in the Settings host,
    // "com.apple.springboard" in the SpringBoard host.
    static std::string applicationIdentifier();
    static void setApplicationIdentifier(std::string identifier);

    // Points to pixels: 3, or $CORVALE_SCREEN_SCALE when it holds a number from 1 to 4, until set
    // otherwise. Values outside 1...4 (and NaN) are ignored by setScreenScale.
    static double screenScale();
    static void setScreenScale(double scale);

    // Light until set otherwise; dynamic colours and trait collections follow it.
    enum class Appearance { Light, Dark };
    static Appearance appearance();
    static void setAppearance(Appearance appearance);

    // The URL schemes that installed applications handle ("twitter", "mailto"), as canOpenURL:
    // sees them. None until set.
    static std::vector<std::string> installedURLSchemes();
    static void setInstalledURLSchemes(std::vector<std::string> schemes);
};

} // namespace platform
