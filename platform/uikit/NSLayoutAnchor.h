#pragma once

#include <memory>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/NSLayoutAttribute.h"

class NSLayoutConstraint;

namespace platform {
class LayoutItem;
}

// One attribute of a view or layout guide, from which constraints are made. The anchor holds its
// item weakly; a constraint made from an anchor whose item is gone relates nothing and never
// activates. The typed subclasses only let anchors of the same kind meet.
class NSLayoutAnchor : public NSObject {
public:
    NSLayoutAnchor(const std::shared_ptr<platform::LayoutItem>& item, NSLayoutAttribute attribute)
        : m_item(item), m_attribute(attribute) {}

    std::shared_ptr<platform::LayoutItem> item() const { return m_item.lock(); }
    NSLayoutAttribute attribute() const { return m_attribute; }

protected:
    // `this <relation> other * multiplier + constant`, inactive.
    std::shared_ptr<NSLayoutConstraint> makeConstraint(NSLayoutRelation relation, const NSLayoutAnchor* other,
                                                       CGFloat multiplier, CGFloat constant) const;

private:
    std::weak_ptr<platform::LayoutItem> m_item;
    NSLayoutAttribute m_attribute;
};
