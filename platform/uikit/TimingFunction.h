#pragma once

#include "platform/uikit/UIView.h"

namespace platform {

// A cubic Bézier easing curve from (0, 0) to (1, 1), as Core Animation's timing functions are.
class TimingFunction {
public:
    constexpr TimingFunction(double x1, double y1, double x2, double y2)
        : m_x1(x1), m_y1(y1), m_x2(x2), m_y2(y2) {}
    static TimingFunction forOptions(UIViewAnimationOptions options);

    // The eased progress for a linear progress in [0, 1] (clamped).
    double valueAt(double progress) const;

private:
    static double bezier(double t, double p1, double p2);
    static double bezierSlope(double t, double p1, double p2);

    double m_x1, m_y1, m_x2, m_y2;
};

} // namespace platform
