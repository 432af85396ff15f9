#include "platform/foundation/UnicodeCase.h"

#include <algorithm>
#include <cctype>

#include <glib.h>

namespace platform {

std::string uppercaseString(std::string_view text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        gchar* upper = g_utf8_strup(text.data(), static_cast<gssize>(text.size()));
        std::string result(upper);
        g_free(upper);
        return result;
    }
    std::string raised(text);
    std::transform(raised.begin(), raised.end(), raised.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return raised;
}

} // namespace platform
