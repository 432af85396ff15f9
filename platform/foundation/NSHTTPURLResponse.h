#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class NSURL;

// What an HTTP server answered: the status and the header fields of the last response of a redirect
// chain, for the URL that gave it. Header names keep the letter case the server sent.
class NSHTTPURLResponse {
public:
    // Name and value, in the order the server sent them; a name the server repeated appears once,
    // with its values joined by ", ".
    using HeaderFields = std::vector<std::pair<std::string, std::string>>;

    NSHTTPURLResponse(std::shared_ptr<NSURL> url, std::int64_t statusCode, HeaderFields headerFields)
        : m_url(std::move(url)), m_statusCode(statusCode), m_headerFields(std::move(headerFields)) {}

    std::int64_t statusCode() const { return m_statusCode; }
    const HeaderFields& allHeaderFields() const { return m_headerFields; }
    // Header names compare without regard to letter case, as HTTP says.
    std::optional<std::string> valueForHTTPHeaderField(std::string_view field) const;
    const std::shared_ptr<NSURL>& URL() const { return m_url; }

private:
    std::shared_ptr<NSURL> m_url;
    std::int64_t m_statusCode;
    HeaderFields m_headerFields;
};
