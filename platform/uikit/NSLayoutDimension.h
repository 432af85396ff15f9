#pragma once

#include "platform/uikit/NSLayoutAnchor.h"

// A width or height: related to another dimension (with a multiplier) or to a constant.
class NSLayoutDimension : public NSLayoutAnchor {
public:
    using NSLayoutAnchor::NSLayoutAnchor;

    std::shared_ptr<NSLayoutConstraint> constraintEqualToConstant(CGFloat constant) const;
    std::shared_ptr<NSLayoutConstraint> constraintGreaterThanOrEqualToConstant(CGFloat constant) const;
    std::shared_ptr<NSLayoutConstraint> constraintLessThanOrEqualToConstant(CGFloat constant) const;

    std::shared_ptr<NSLayoutConstraint>
    constraintEqualToAnchor(const std::shared_ptr<NSLayoutDimension>& anchor, CGFloat constant = 0) const;
    // this == anchor * multiplier + constant
    std::shared_ptr<NSLayoutConstraint>
    constraintEqualToAnchor(const std::shared_ptr<NSLayoutDimension>& anchor, CGFloat multiplier,
                            CGFloat constant) const;
    std::shared_ptr<NSLayoutConstraint>
    constraintGreaterThanOrEqualToAnchor(const std::shared_ptr<NSLayoutDimension>& anchor,
                                         CGFloat constant = 0) const;
    std::shared_ptr<NSLayoutConstraint>
    constraintLessThanOrEqualToAnchor(const std::shared_ptr<NSLayoutDimension>& anchor,
                                      CGFloat constant = 0) const;
};
