#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace corvale::hosts {

// Walks a command line's arguments, handing out option values whether they follow a "=" or stand
// alone ("--os 13.0", "--os=13.0").
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string_view>& arguments) : m_arguments(arguments) {}

    bool atEnd() const { return m_next >= m_arguments.size(); }
    // The index of the argument next() would hand out.
    std::size_t position() const { return m_next; }

    // The next argument; for "--name=value" the "--name" part, keeping the value for value().
    std::string_view next() {
        std::string_view argument = m_arguments[m_next++];
        m_attachedValue.reset();
        if (auto equals = argument.find('=');
            argument.starts_with("--") && equals != std::string_view::npos) {
            m_attachedValue = argument.substr(equals + 1);
            return argument.substr(0, equals);
        }
        return argument;
    }

    bool hasAttachedValue() const { return m_attachedValue.has_value(); }

    // The option's value, or a step's operand (which never comes after "="); nothing at the end.
    std::optional<std::string_view> value() {
        if (m_attachedValue)
            return std::exchange(m_attachedValue, std::nullopt);
        if (atEnd())
            return std::nullopt;
        return m_arguments[m_next++];
    }

private:
    const std::vector<std::string_view>& m_arguments;
    std::size_t m_next = 0;
    std::optional<std::string_view> m_attachedValue;
};

} // namespace corvale::hosts
