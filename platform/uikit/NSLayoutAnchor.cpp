#include "platform/uikit/NSLayoutAnchor.h"

#include "platform/uikit/LayoutItem.h"
#include "platform/uikit/NSLayoutConstraint.h"

std::shared_ptr<NSLayoutConstraint> NSLayoutAnchor::makeConstraint(NSLayoutRelation relation,
                                                                   const NSLayoutAnchor* other,
                                                                   CGFloat multiplier,
                                                                   CGFloat constant) const {
    auto constraint = std::make_shared<NSLayoutConstraint>();
    constraint->_setFirst(item(), m_attribute);
    if (other)
        constraint->_setSecond(other->item(), other->attribute());
    constraint->_setRelation(relation, multiplier, constant);
    return constraint;
}
