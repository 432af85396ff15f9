#pragma once

#include <string>
#include <string_view>

namespace merrow {

// The library's preference domain, used by every preference call.
inline constexpr std::string_view preferenceDomain = "dev.orlan.ios.tweak.lib.libmerrow";

// "HasPromptedForFollowV2" on iOS 13.0 and later, "HasPromptedForFollowV1" before: each key is read
// and written only on the releases it belongs to.
std::string currentPromptKey();

// Whether the user has been prompted under the current key, as this process knows it: loaded from
// the domain at load time, set when the prompt is shown. Decisions read this, never the stored value.
class PromptState {
public:
    static bool hasPromptedForFollow();
    static void setHasPromptedForFollow(bool prompted);
    // Reads the stored value of the current key (false when there is none).
    static void loadFromPreferences();
    // Stores true under the current key and synchronises the domain.
    static void storePrompted();
};

} // namespace merrow
