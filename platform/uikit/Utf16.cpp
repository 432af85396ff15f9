#include "platform/uikit/Utf16.h"

namespace platform {

namespace {

// Bytes of the UTF-8 sequence starting with `lead`, and the UTF-16 units it encodes.
void sequenceAt(std::string_view text, std::size_t offset, std::size_t& bytes, std::size_t& units) {
    auto lead = static_cast<unsigned char>(text[offset]);
    bytes = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
    if (offset + bytes > text.size())
        bytes = 1;
    for (std::size_t next = 1; next < bytes; ++next)
        if ((static_cast<unsigned char>(text[offset + next]) & 0xC0) != 0x80)
            bytes = 1;
    units = bytes == 4 ? 2 : 1;
}

} // namespace

std::size_t utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (std::size_t offset = 0; offset < utf8.size();) {
        std::size_t bytes = 0, sequenceUnits = 0;
        sequenceAt(utf8, offset, bytes, sequenceUnits);
        offset += bytes;
        units += sequenceUnits;
    }
    return units;
}

std::size_t utf8OffsetOfUtf16Index(std::string_view utf8, std::size_t index) {
    std::size_t units = 0;
    std::size_t offset = 0;
    while (offset < utf8.size() && units < index) {
        std::size_t bytes = 0, sequenceUnits = 0;
        sequenceAt(utf8, offset, bytes, sequenceUnits);
        offset += bytes;
        units += sequenceUnits;
    }
    return offset;
}

} // namespace platform
