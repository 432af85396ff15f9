#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// How image files are named for screen scales: "icon.png" is the 1x image, "icon@2x.png" and
// "icon@3x.png" the 2x and 3x ones; a device modifier may follow ("icon@2x~iphone.png").
class ImageFileName {
public:
    struct Variant {
        std::string resourceName; // without the type: "icon@2x"
        std::string type;         // "png"
        double scale = 1;
    };

    // The scale a file name announces: 2 for ".../icon@2x.png", 1 when it announces none.
    static double scaleFromPath(std::string_view path);

    // The files that may hold the image `name` (which may carry its type, "icon.png", or a scale,
    // "icon@2x"), best first: the preferred scale, then the nearest others (the larger on a tie,
    // since scaling down looks better than scaling up); PNG before JPEG within a scale.
    static std::vector<Variant> variantsForName(std::string_view name, double preferredScale);
};

} // namespace platform
