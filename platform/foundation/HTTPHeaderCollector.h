#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "platform/foundation/NSHTTPURLResponse.h"

namespace platform {

// Gathers the header fields of a response from the lines libcurl hands over one at a time. Every
// status line starts a new response (an informational 100, a redirect, the final answer), so what
// is kept belongs to the last one.
class HTTPHeaderCollector {
public:
    // One line as received, with or without its line end.
    void addLine(std::string_view line);
    const NSHTTPURLResponse::HeaderFields& fields() const { return m_fields; }
    NSHTTPURLResponse::HeaderFields takeFields();
    void reset();

    static bool namesMatch(std::string_view lhs, std::string_view rhs);

private:
    // The index of the field that now holds the value.
    std::size_t addField(std::string_view name, std::string_view value);

    NSHTTPURLResponse::HeaderFields m_fields;
    // The field of the previous line, which an obsolete folded line continues.
    std::optional<std::size_t> m_continuedField;
};

} // namespace platform
