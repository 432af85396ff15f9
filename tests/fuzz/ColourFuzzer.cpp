// Feeds arbitrary text to the pane's colour-string reader ("red:green:blue"): a colour exactly when
// the text has at least three components, always opaque, with each component as the number reads.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/uikit/UIColor.h"
#include "settings/engine/UIColorEasyDynamic.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto colour = UIColorEasyDynamic::_colorFromKVString(text);
    std::size_t separators = 0;
    for (char character : text)
        separators += character == ':' ? 1 : 0;
    if ((colour != nullptr) != (separators >= 2))
        __builtin_trap();
    if (colour) {
        double red = 0, green = 0, blue = 0, alpha = 0;
        colour->getRed(&red, &green, &blue, &alpha);
        const float expectedRed = Value(std::string(text.substr(0, text.find(':')))).floatValue();
        if (alpha != 1.0 || !(red == expectedRed || (red != red && expectedRed != expectedRed)))
            __builtin_trap();
    }
    // The same text as a theme key with a dark variant.
    auto theme = Value::dictionary({{"tint", std::string(text)}, {"tint:dark", std::string(text)}});
    UIColorEasyDynamic::colorForKey("tint", theme);
    return 0;
}
