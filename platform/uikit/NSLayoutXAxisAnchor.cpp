#include "platform/uikit/NSLayoutXAxisAnchor.h"

#include "platform/uikit/NSLayoutConstraint.h"

std::shared_ptr<NSLayoutConstraint>
NSLayoutXAxisAnchor::constraintEqualToAnchor(const std::shared_ptr<NSLayoutXAxisAnchor>& anchor,
                                             CGFloat constant) const {
    return makeConstraint(NSLayoutRelationEqual, anchor.get(), 1, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutXAxisAnchor::constraintGreaterThanOrEqualToAnchor(const std::shared_ptr<NSLayoutXAxisAnchor>& anchor,
                                                          CGFloat constant) const {
    return makeConstraint(NSLayoutRelationGreaterThanOrEqual, anchor.get(), 1, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutXAxisAnchor::constraintLessThanOrEqualToAnchor(const std::shared_ptr<NSLayoutXAxisAnchor>& anchor,
                                                       CGFloat constant) const {
    return makeConstraint(NSLayoutRelationLessThanOrEqual, anchor.get(), 1, constant);
}
