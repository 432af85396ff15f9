// Feeds arbitrary device paths to the device root: however many "..", "." and slashes a path holds,
// it resolves inside the root, and its normal form resolves to the same place.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/foundation/DeviceRoot.h"

using platform::DeviceRoot;

namespace {

bool isInside(const std::filesystem::path& path, const std::filesystem::path& root) {
    auto pathText = path.lexically_normal().string();
    auto rootText = root.lexically_normal().string();
    if (pathText.rfind(rootText, 0) != 0)
        return false;
    // "/rootfoo" is not inside "/root".
    return pathText.size() == rootText.size() || rootText.back() == '/' || pathText[rootText.size()] == '/';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool rootChosen = (DeviceRoot::setRoot("/nonexistent/corvale-device-root"), true);
    (void)rootChosen;
    std::string_view devicePath(reinterpret_cast<const char*>(data), size);
    const auto root = DeviceRoot::root();
    const auto resolved = DeviceRoot::resolve(devicePath);
    if (!isInside(resolved, root))
        __builtin_trap();
    // No component may climb out once the host's own path rules apply.
    for (const auto& component : resolved.lexically_relative(root))
        if (component == "..")
            __builtin_trap();
    const std::string normal = DeviceRoot::normalize(devicePath);
    if (normal.empty() || normal.front() != '/' || DeviceRoot::resolve(normal) != resolved ||
        DeviceRoot::normalize(normal) != normal)
        __builtin_trap();
    return 0;
}
