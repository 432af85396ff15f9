#include "platform/uikit/NSLayoutYAxisAnchor.h"

#include "platform/uikit/NSLayoutConstraint.h"

std::shared_ptr<NSLayoutConstraint>
NSLayoutYAxisAnchor::constraintEqualToAnchor(const std::shared_ptr<NSLayoutYAxisAnchor>& anchor,
                                             CGFloat constant) const {
    return makeConstraint(NSLayoutRelationEqual, anchor.get(), 1, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutYAxisAnchor::constraintGreaterThanOrEqualToAnchor(const std::shared_ptr<NSLayoutYAxisAnchor>& anchor,
                                                          CGFloat constant) const {
    return makeConstraint(NSLayoutRelationGreaterThanOrEqual, anchor.get(), 1, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutYAxisAnchor::constraintLessThanOrEqualToAnchor(const std::shared_ptr<NSLayoutYAxisAnchor>& anchor,
                                                       CGFloat constant) const {
    return makeConstraint(NSLayoutRelationLessThanOrEqual, anchor.get(), 1, constant);
}
