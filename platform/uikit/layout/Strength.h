#pragma once

#include <string>

namespace platform::layout {

// How much a constraint matters, as a UIKit layout priority from 1 to 1000.
//
// 1000 is required: the solver never violates it and refuses one it cannot satisfy. Every other
// priority is a level of its own in a lexicographic objective: the solver first minimises the
// error of the highest level in use and only then looks at the next, so a constraint at 999 beats
// any number of constraints at 998 (not merely a large number, as numeric weights would). Each
// distinct priority value is its own level, fractional ones included (750.5 sits between 750 and
// 751). Within one level the errors add up, scaled by the weight (1 unless set), so at equal
// priority two constraints outvote one. The cost: every level in use is one more objective row for
// the simplex to consult, so the solver is quickest with the handful of levels real layouts use.
class Strength {
public:
    static constexpr float kRequiredPriority = 1000.0f;
    static constexpr float kLowestPriority = 1.0f;

    static constexpr Strength required() { return Strength(kRequiredPriority, 1.0); }
    // UILayoutPriorityDefaultHigh: compression resistance, most explicit preferences.
    static constexpr Strength strong() { return Strength(750.0f, 1.0); }
    // UILayoutPriorityDragThatCanResizeScene.
    static constexpr Strength medium() { return Strength(500.0f, 1.0); }
    // UILayoutPriorityDefaultLow: content hugging.
    static constexpr Strength weak() { return Strength(250.0f, 1.0); }

    // Priorities at or above 1000 are required; below 1 (or not a number) they clamp to 1.
    static Strength fromPriority(float priority);

    float priority() const { return m_priority; }
    double weight() const { return m_weight; }
    bool isRequired() const { return m_priority >= kRequiredPriority; }
    // The same level with another weight; weights that are not positive and finite become 1.
    Strength withWeight(double weight) const;

    // "required", "priority 750" or "priority 750, weight 2".
    std::string description() const;

    friend bool operator==(const Strength&, const Strength&) = default;

private:
    constexpr Strength(float priority, double weight) : m_priority(priority), m_weight(weight) {}

    float m_priority;
    double m_weight;
};

} // namespace platform::layout
