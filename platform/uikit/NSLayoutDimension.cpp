#include "platform/uikit/NSLayoutDimension.h"

#include "platform/uikit/NSLayoutConstraint.h"

std::shared_ptr<NSLayoutConstraint> NSLayoutDimension::constraintEqualToConstant(CGFloat constant) const {
    return makeConstraint(NSLayoutRelationEqual, nullptr, 0, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutDimension::constraintGreaterThanOrEqualToConstant(CGFloat constant) const {
    return makeConstraint(NSLayoutRelationGreaterThanOrEqual, nullptr, 0, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutDimension::constraintLessThanOrEqualToConstant(CGFloat constant) const {
    return makeConstraint(NSLayoutRelationLessThanOrEqual, nullptr, 0, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutDimension::constraintEqualToAnchor(const std::shared_ptr<NSLayoutDimension>& anchor,
                                           CGFloat constant) const {
    return makeConstraint(NSLayoutRelationEqual, anchor.get(), 1, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutDimension::constraintEqualToAnchor(const std::shared_ptr<NSLayoutDimension>& anchor,
                                           CGFloat multiplier, CGFloat constant) const {
    return makeConstraint(NSLayoutRelationEqual, anchor.get(), multiplier, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutDimension::constraintGreaterThanOrEqualToAnchor(const std::shared_ptr<NSLayoutDimension>& anchor,
                                                        CGFloat constant) const {
    return makeConstraint(NSLayoutRelationGreaterThanOrEqual, anchor.get(), 1, constant);
}

std::shared_ptr<NSLayoutConstraint>
NSLayoutDimension::constraintLessThanOrEqualToAnchor(const std::shared_ptr<NSLayoutDimension>& anchor,
                                                     CGFloat constant) const {
    return makeConstraint(NSLayoutRelationLessThanOrEqual, anchor.get(), 1, constant);
}
