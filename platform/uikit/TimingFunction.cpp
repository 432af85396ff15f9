#include "platform/uikit/TimingFunction.h"

#include <cmath>

namespace platform {

TimingFunction TimingFunction::forOptions(UIViewAnimationOptions options) {
    switch (options & (3u << 16)) {
    case UIViewAnimationOptionCurveEaseIn:
        return {0.42, 0, 1, 1};
    case UIViewAnimationOptionCurveEaseOut:
        return {0, 0, 0.58, 1};
    case UIViewAnimationOptionCurveLinear:
        return {0, 0, 1, 1};
    default:
        return {0.42, 0, 0.58, 1};
    }
}

double TimingFunction::bezier(double t, double p1, double p2) {
    double u = 1 - t;
    return 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t;
}

double TimingFunction::bezierSlope(double t, double p1, double p2) {
    double u = 1 - t;
    return 3 * u * u * p1 + 6 * u * t * (p2 - p1) + 3 * t * t * (1 - p2);
}

// Finds the curve parameter whose x is the progress (Newton steps, bisection when they stall), then
// reads y there.
double TimingFunction::valueAt(double progress) const {
    if (!(progress > 0))
        return 0;
    if (progress >= 1)
        return 1;
    double t = progress;
    for (int step = 0; step < 8; ++step) {
        double error = bezier(t, m_x1, m_x2) - progress;
        if (std::fabs(error) < 1e-9)
            return bezier(t, m_y1, m_y2);
        double slope = bezierSlope(t, m_x1, m_x2);
        if (std::fabs(slope) < 1e-9)
            break;
        t -= error / slope;
    }
    double low = 0, high = 1;
    t = progress;
    for (int step = 0; step < 60; ++step) {
        double x = bezier(t, m_x1, m_x2);
        if (std::fabs(x - progress) < 1e-9)
            break;
        (x < progress ? low : high) = t;
        t = (low + high) / 2;
    }
    return bezier(t, m_y1, m_y2);
}

} // namespace platform
