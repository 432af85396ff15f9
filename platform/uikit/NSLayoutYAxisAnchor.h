#pragma once

#include "platform/uikit/NSLayoutAnchor.h"

// A vertical edge or centre: top, bottom or centre Y.
class NSLayoutYAxisAnchor : public NSLayoutAnchor {
public:
    using NSLayoutAnchor::NSLayoutAnchor;

    std::shared_ptr<NSLayoutConstraint>
    constraintEqualToAnchor(const std::shared_ptr<NSLayoutYAxisAnchor>& anchor, CGFloat constant = 0) const;
    std::shared_ptr<NSLayoutConstraint>
    constraintGreaterThanOrEqualToAnchor(const std::shared_ptr<NSLayoutYAxisAnchor>& anchor,
                                         CGFloat constant = 0) const;
    std::shared_ptr<NSLayoutConstraint>
    constraintLessThanOrEqualToAnchor(const std::shared_ptr<NSLayoutYAxisAnchor>& anchor,
                                      CGFloat constant = 0) const;
};
