#pragma once

#include <utility>
#include <vector>

#include "platform/uikit/layout/Relation.h"
#include "platform/uikit/layout/Strength.h"

namespace layout_testing {

// A constraint as plain numbers, for a solver that knows nothing of the layout classes:
// sum(coefficient * x[variable]) + constant <relation> 0 at a priority (1000 is required).
struct ReferenceConstraint {
    std::vector<std::pair<int, double>> terms;
    double constant = 0.0;
    platform::layout::Relation relation = platform::layout::Relation::Equal;
    float priority = platform::layout::Strength::kRequiredPriority;
    double weight = 1.0;

    bool isRequired() const { return priority >= platform::layout::Strength::kRequiredPriority; }
    double valueAt(const std::vector<double>& point) const;
    // How far the point is from satisfying it: |value| for an equality, the wrong side's part for
    // an inequality, times the weight.
    double errorAt(const std::vector<double>& point) const;
};

} // namespace layout_testing
