// Feeds arbitrary header lines (split at line feeds) to the header collector: it never fails, and
// every field it keeps has a name that the lookup finds again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/foundation/HTTPHeaderCollector.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::HTTPHeaderCollector collector;
    while (!text.empty()) {
        auto end = text.find('\n');
        std::string_view line = end == std::string_view::npos ? text : text.substr(0, end + 1);
        collector.addLine(line);
        text.remove_prefix(line.size());
    }
    for (const auto& [name, value] : collector.fields()) {
        if (!platform::HTTPHeaderCollector::namesMatch(name, name))
            __builtin_trap();
    }
    collector.takeFields();
    if (!collector.fields().empty())
        __builtin_trap();
    return 0;
}
