#include "platform/uikit/layout/Strength.h"

#include <charconv>
#include <cmath>

namespace platform::layout {

namespace {

template <class Number> std::string shortest(Number number) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

} // namespace

Strength Strength::fromPriority(float priority) {
    if (std::isnan(priority) || priority < kLowestPriority)
        return Strength(kLowestPriority, 1.0);
    if (priority >= kRequiredPriority)
        return required();
    return Strength(priority, 1.0);
}

Strength Strength::withWeight(double weight) const {
    bool usable = std::isfinite(weight) && weight > 0.0;
    return Strength(m_priority, usable ? weight : 1.0);
}

std::string Strength::description() const {
    if (isRequired())
        return "required";
    std::string text = "priority " + shortest(m_priority);
    if (m_weight != 1.0)
        text += ", weight " + shortest(m_weight);
    return text;
}

} // namespace platform::layout
