#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/NSError.h"

// File system operations on device paths (resolved under the device root). Failures return false
// or nothing and hand back an NSCocoaErrorDomain error when asked for one. Safe from any thread.
class NSFileManager {
public:
    static NSFileManager& defaultManager();

    // Without intermediates, the parent must exist and the folder must not. With them, missing
    // parents are made and an existing folder is success. A file in the way is always a failure.
    bool createDirectoryAtPath(std::string_view path, bool withIntermediateDirectories,
                               NSErrorPtr* error = nullptr) const;
    // Removes a file, or a folder with everything in it.
    bool removeItemAtPath(std::string_view path, NSErrorPtr* error = nullptr) const;
    // Follows symbolic links, as the platform does.
    bool fileExistsAtPath(std::string_view path, bool* isDirectory = nullptr) const;
    // The names in a folder (hidden ones included), sorted; empty with an error when it cannot be read.
    std::vector<std::string> contentsOfDirectoryAtPath(std::string_view path,
                                                       NSErrorPtr* error = nullptr) const;
    // Both fail when something already exists at the destination.
    bool moveItemAtPath(std::string_view source, std::string_view destination,
                        NSErrorPtr* error = nullptr) const;
    bool copyItemAtPath(std::string_view source, std::string_view destination,
                        NSErrorPtr* error = nullptr) const;

private:
    NSFileManager() = default;
};
