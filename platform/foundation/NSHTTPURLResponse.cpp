#include "platform/foundation/NSHTTPURLResponse.h"

#include "platform/foundation/HTTPHeaderCollector.h"

std::optional<std::string> NSHTTPURLResponse::valueForHTTPHeaderField(std::string_view field) const {
    for (const auto& [name, value] : m_headerFields) {
        if (platform::HTTPHeaderCollector::namesMatch(name, field))
            return value;
    }
    return std::nullopt;
}
