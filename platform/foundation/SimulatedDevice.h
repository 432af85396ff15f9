#pragma once

#include <string>
#include <vector>

#include "platform/foundation/NSOperatingSystemVersion.h"
#include "platform/uikit/CGGeometry.h"

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

    // The screen's size in points: 390 x 844 (an iPhone in portrait) until set otherwise. Sizes that
    // are not positive and finite are ignored.
    static CGSize screenSize();
    static void setScreenSize(CGSize size);

    // The width class the screen's traits report: compact (a phone in portrait) until set otherwise.
    enum class SizeClass { Compact, Regular };
    static SizeClass horizontalSizeClass();
    static void setHorizontalSizeClass(SizeClass sizeClass);

    // The URL schemes that installed applications handle ("twitter", "mailto"), as canOpenURL:
    // sees them. None until set.
    static std::vector<std::string> installedURLSchemes();
    static void setInstalledURLSchemes(std::vector<std::string> schemes);
};

} // namespace platform
