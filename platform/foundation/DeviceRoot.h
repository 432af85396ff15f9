#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/NSError.h"

namespace platform {

// The folder that plays the device's "/". Every absolute path the deliverables use is a device path
// and is resolved under this root; no path, however many ".." it holds, resolves outside it.
class DeviceRoot {
public:
    // The root: the last one set, else $CORVALE_DEVICE_ROOT, else the current directory.
    static std::filesystem::path root();
    static void setRoot(const std::filesystem::path& hostDirectory);

    // The host path of a device path. Relative paths are taken from the device's "/".
    static std::filesystem::path resolve(std::string_view devicePath);
    // The device path ("/..." form, normalised) that `resolve` maps to the same place.
    static std::string normalize(std::string_view devicePath);
};

// File helpers over device paths. Writes are atomic: a temporary file beside the target, then rename.
bool readFile(std::string_view devicePath, std::vector<std::uint8_t>& out, NSErrorPtr* error = nullptr);
bool writeFileAtomically(std::string_view devicePath, const std::vector<std::uint8_t>& bytes,
                         NSErrorPtr* error = nullptr);

} // namespace platform
