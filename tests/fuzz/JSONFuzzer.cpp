// Feeds arbitrary bytes to the JSON reader; whatever it accepts and can write must read back the same.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/foundation/NSJSONSerialization.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    NSErrorPtr error;
    auto value = NSJSONSerialization::JSONObjectWithData(text, &error);
    if (!value) {
        if (!error)
            __builtin_trap();
        return 0;
    }
    if (!NSJSONSerialization::isValidJSONObject(*value))
        return 0;
    auto written = NSJSONSerialization::dataWithJSONObject(*value);
    if (!written)
        __builtin_trap();
    auto again = NSJSONSerialization::JSONObjectWithData(*written);
    if (!again || again->description() != value->description())
        __builtin_trap();
    return 0;
}
