#include "platform/foundation/HTTPHeaderCollector.h"

#include <algorithm>
#include <string>

namespace platform {

namespace {

bool isBlank(char character) {
    return character == ' ' || character == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

char lowercase(char character) {
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a') : character;
}

} // namespace

bool HTTPHeaderCollector::namesMatch(std::string_view lhs, std::string_view rhs) {
    return std::equal(lhs.begin(), lhs.end(), rhs.begin(), rhs.end(),
                      [](char left, char right) { return lowercase(left) == lowercase(right); });
}

void HTTPHeaderCollector::addLine(std::string_view rawLine) {
    auto line = withoutLineEnd(rawLine);
    if (line.starts_with("HTTP/")) {
        reset();
        return;
    }
    if (line.empty()) {
        m_continuedField.reset();
        return;
    }
    if (isBlank(line.front())) {
        auto continuation = trimmed(line);
        if (m_continuedField && !continuation.empty()) {
            auto& value = m_fields[*m_continuedField].second;
            value += value.empty() ? "" : " ";
            value += continuation;
        }
        return;
    }
    auto colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        m_continuedField.reset();
        return;
    }
    m_continuedField = addField(line.substr(0, colon), trimmed(line.substr(colon + 1)));
}

std::size_t HTTPHeaderCollector::addField(std::string_view name, std::string_view value) {
    auto existing = std::find_if(m_fields.begin(), m_fields.end(),
                                 [&](const auto& field) { return namesMatch(field.first, name); });
    if (existing == m_fields.end()) {
        m_fields.emplace_back(std::string(name), std::string(value));
        return m_fields.size() - 1;
    }
    existing->second += ", ";
    existing->second += value;
    return static_cast<std::size_t>(existing - m_fields.begin());
}

void HTTPHeaderCollector::reset() {
    m_fields.clear();
    m_continuedField.reset();
}

NSHTTPURLResponse::HeaderFields HTTPHeaderCollector::takeFields() {
    auto fields = std::move(m_fields);
    reset();
    return fields;
}

} // namespace platform
