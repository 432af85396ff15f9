#pragma once

#include <string>
#include <vector>

namespace corvale::springboardhost {

// The substitution loader's part: opens every library in /Library/MobileSubstrate/DynamicLibraries
// of the device root whose filter plist (same name, ".plist") lists the application's bundle
// identifier under Filter/Bundles. Libraries are opened in name order and never closed.
class TweakLoader {
public:
    struct Result {
        std::vector<std::string> loaded;   // file names
        std::vector<std::string> problems; // one line each
    };
    static Result loadLibrariesFor(const std::string& bundleIdentifier);
};

} // namespace corvale::springboardhost
