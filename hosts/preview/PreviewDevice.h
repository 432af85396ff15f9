#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace corvale::preview {

// The simulated device's options that the page can change while the preview runs: the release,
// appearance, size class, screen size, scale and the URL schemes installed apps open. They live in
// the platform's SimulatedDevice; this reads and changes them there.
class PreviewDevice {
public:
    // {"os": "14.0", "appearance": "light", "sizeClass": "compact", "screen": "390x844", "scale": 3,
    //  "installedSchemes": "twitter,mailto"}
    static nlohmann::ordered_json current();
    // Changes the options `options` names (the keys above, each optional) and leaves the others. A
    // message, and nothing changed, when a value is unusable or the result is dark before iOS 13.
    static std::optional<std::string> change(const nlohmann::json& options);
};

} // namespace corvale::preview
