#pragma once

#include "platform/uikit/NSLayoutAnchor.h"

// A horizontal edge or centre: leading, trailing, left, right or centre X.
class NSLayoutXAxisAnchor : public NSLayoutAnchor {
public:
    using NSLayoutAnchor::NSLayoutAnchor;

    std::shared_ptr<NSLayoutConstraint>
    constraintEqualToAnchor(const std::shared_ptr<NSLayoutXAxisAnchor>& anchor, CGFloat constant = 0) const;
    std::shared_ptr<NSLayoutConstraint>
    constraintGreaterThanOrEqualToAnchor(const std::shared_ptr<NSLayoutXAxisAnchor>& anchor,
                                         CGFloat constant = 0) const;
    std::shared_ptr<NSLayoutConstraint>
    constraintLessThanOrEqualToAnchor(const std::shared_ptr<NSLayoutXAxisAnchor>& anchor,
                                      CGFloat constant = 0) const;
};
