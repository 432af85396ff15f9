#include "tests/support/layout/ReferenceConstraint.h"

#include <algorithm>
#include <cmath>

namespace layout_testing {

using platform::layout::Relation;

double ReferenceConstraint::valueAt(const std::vector<double>& point) const {
    double value = constant;
    for (const auto& [variable, coefficient] : terms)
        value += coefficient * point[static_cast<std::size_t>(variable)];
    return value;
}

double ReferenceConstraint::errorAt(const std::vector<double>& point) const {
    double value = valueAt(point);
    switch (relation) {
    case Relation::Equal:
        return weight * std::fabs(value);
    case Relation::LessOrEqual:
        return weight * std::max(0.0, value);
    case Relation::GreaterOrEqual:
        break;
    }
    return weight * std::max(0.0, -value);
}

} // namespace layout_testing
