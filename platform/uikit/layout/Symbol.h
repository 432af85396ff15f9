#pragma once

#include <compare>
#include <cstdint>

namespace platform::layout {

// A column of the simplex tableau. The index and the kind share one integer (kind in the low two
// bits), so rows can keep plain integers sorted by index and still tell slacks from errors.
class Symbol {
public:
    enum class Kind : std::uint32_t { External = 0, Slack = 1, Error = 2, Dummy = 3 };

    constexpr Symbol() = default;
    constexpr Symbol(Kind kind, std::uint32_t index)
        : m_value((index << 2) | static_cast<std::uint32_t>(kind)) {}

    constexpr bool isValid() const { return m_value != kInvalid; }
    constexpr Kind kind() const { return static_cast<Kind>(m_value & 3u); }
    constexpr std::uint32_t index() const { return m_value >> 2; }
    constexpr std::uint32_t raw() const { return m_value; }

    // Slack, error and dummy symbols are restricted to non-negative values; externals are not.
    constexpr bool isExternal() const { return kind() == Kind::External; }
    // Dummies mark required equalities: they may never enter the basis.
    constexpr bool isDummy() const { return kind() == Kind::Dummy; }
    constexpr bool isPivotable() const { return kind() == Kind::Slack || kind() == Kind::Error; }

    friend constexpr bool operator==(Symbol, Symbol) = default;
    friend constexpr auto operator<=>(Symbol, Symbol) = default;

private:
    static constexpr std::uint32_t kInvalid = 0xffffffffu;
    std::uint32_t m_value = kInvalid;
};

} // namespace platform::layout
