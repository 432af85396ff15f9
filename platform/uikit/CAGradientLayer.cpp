#include "platform/uikit/CAGradientLayer.h"

#include <algorithm>
#include <cmath>

namespace {

[[maybe_unused]] const Class registeredGradientLayer =
    platform::registerClass<CAGradientLayer, CALayer>("CAGradientLayer");

CAGradientLayer::RGBA componentsOf(const UIColorPtr& color) {
    CAGradientLayer::RGBA rgba;
    if (color)
        color->getRed(&rgba.red, &rgba.green, &rgba.blue, &rgba.alpha);
    return rgba;
}

CAGradientLayer::RGBA mix(const CAGradientLayer::RGBA& from, const CAGradientLayer::RGBA& to, double amount) {
    auto blend = [amount](double a, double b) { return a + (b - a) * amount; };
    return {blend(from.red, to.red), blend(from.green, to.green), blend(from.blue, to.blue),
            blend(from.alpha, to.alpha)};
}

} // namespace

CAGradientLayer::RGBA CAGradientLayer::colorAtPosition(double position) const {
    std::size_t count = m_colors.size();
    if (count == 0)
        return {};
    if (count == 1 || !std::isfinite(position))
        return componentsOf(m_colors.front());
    std::vector<double> stops = m_locations;
    if (stops.size() != count) {
        stops.resize(count);
        for (std::size_t index = 0; index < count; ++index)
            stops[index] = static_cast<double>(index) / static_cast<double>(count - 1);
    }
    if (position <= stops.front())
        return componentsOf(m_colors.front());
    for (std::size_t index = 1; index < count; ++index) {
        if (position <= stops[index]) {
            double span = stops[index] - stops[index - 1];
            double amount = span > 0 ? (position - stops[index - 1]) / span : 1;
            return mix(componentsOf(m_colors[index - 1]), componentsOf(m_colors[index]), amount);
        }
    }
    return componentsOf(m_colors.back());
}

// Projects the point (in the bounds) onto the gradient line in unit coordinates.
CAGradientLayer::RGBA CAGradientLayer::colorAtPoint(CGPoint point) const {
    CGSize size = bounds().size;
    double x = size.width > 0 ? point.x / size.width : 0;
    double y = size.height > 0 ? point.y / size.height : 0;
    double dx = m_endPoint.x - m_startPoint.x, dy = m_endPoint.y - m_startPoint.y;
    double length = dx * dx + dy * dy;
    double position = length > 0 ? ((x - m_startPoint.x) * dx + (y - m_startPoint.y) * dy) / length : 0;
    return colorAtPosition(position);
}

std::shared_ptr<CALayer> CAGradientLayer::makeCopy() const {
    auto copy = std::make_shared<CAGradientLayer>(*this);
    copyValuesInto(*copy);
    return copy;
}
