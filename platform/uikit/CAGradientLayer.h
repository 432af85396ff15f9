#pragma once

#include <memory>
#include <vector>

#include "platform/uikit/CALayer.h"

// A layer that fills its bounds with a linear gradient: colours at locations (0 to 1, spread evenly
// when there are none or their count differs), along the line from startPoint to endPoint in the unit
// square of the bounds (top centre to bottom centre by default).
class CAGradientLayer : public CALayer {
public:
    CAGradientLayer() = default;
    static std::shared_ptr<CAGradientLayer> layer() { return std::make_shared<CAGradientLayer>(); }

    const std::vector<UIColorPtr>& colors() const { return m_colors; }
    void setColors(std::vector<UIColorPtr> colors) { m_colors = std::move(colors); }
    const std::vector<double>& locations() const { return m_locations; }
    void setLocations(std::vector<double> locations) { m_locations = std::move(locations); }
    CGPoint startPoint() const { return m_startPoint; }
    void setStartPoint(CGPoint point) { m_startPoint = point; }
    CGPoint endPoint() const { return m_endPoint; }
    void setEndPoint(CGPoint point) { m_endPoint = point; }

    struct RGBA {
        double red = 0, green = 0, blue = 0, alpha = 0;
    };
    // The colour at a point of the bounds (resolved with the current traits); clear with no colours.
    RGBA colorAtPoint(CGPoint point) const;
    // The colour at a position along the gradient line (0 at the start point, 1 at the end).
    RGBA colorAtPosition(double position) const;

protected:
    std::shared_ptr<CALayer> makeCopy() const override;

private:
    std::vector<UIColorPtr> m_colors;
    std::vector<double> m_locations;
    CGPoint m_startPoint{0.5, 0};
    CGPoint m_endPoint{0.5, 1};
};

using CAGradientLayerPtr = std::shared_ptr<CAGradientLayer>;
