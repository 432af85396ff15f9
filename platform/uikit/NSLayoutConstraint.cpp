#include "platform/uikit/NSLayoutConstraint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_set>

#include "platform/foundation/NSLog.h"
#include "platform/uikit/LayoutItem.h"
#include "platform/uikit/UIView.h"

namespace {

[[maybe_unused]] const Class registeredConstraint =
    platform::registerClass<NSLayoutConstraint>("NSLayoutConstraint");

UIView* commonAncestor(UIView* first, UIView* second) {
    std::unordered_set<UIView*> ancestors;
    for (UIView* view = first; view; view = view->superview().get())
        ancestors.insert(view);
    for (UIView* view = second; view; view = view->superview().get())
        if (ancestors.count(view))
            return view;
    return nullptr;
}

UILayoutPriority clampedPriority(UILayoutPriority priority) {
    if (!(priority >= 1))
        return 1;
    return std::min(priority, UILayoutPriorityRequired);
}

const char* relationSymbol(NSLayoutRelation relation) {
    switch (relation) {
    case NSLayoutRelationLessThanOrEqual:
        return "<=";
    case NSLayoutRelationGreaterThanOrEqual:
        return ">=";
    case NSLayoutRelationEqual:
        break;
    }
    return "==";
}

std::string formatNumber(CGFloat value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

std::shared_ptr<NSLayoutConstraint> NSLayoutConstraint::constraintWithItem(
    const std::shared_ptr<platform::LayoutItem>& firstItem, NSLayoutAttribute firstAttribute,
    NSLayoutRelation relation, const std::shared_ptr<platform::LayoutItem>& secondItem,
    NSLayoutAttribute secondAttribute, CGFloat multiplier, CGFloat constant) {
    auto constraint = std::make_shared<NSLayoutConstraint>();
    constraint->_setFirst(firstItem, firstAttribute);
    if (secondItem && secondAttribute != NSLayoutAttributeNotAnAttribute)
        constraint->_setSecond(secondItem, secondAttribute);
    constraint->_setRelation(relation, multiplier, constant);
    return constraint;
}

void NSLayoutConstraint::activateConstraints(
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints) {
    for (const auto& constraint : constraints)
        if (constraint)
            constraint->setActive(true);
}

void NSLayoutConstraint::deactivateConstraints(
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints) {
    for (const auto& constraint : constraints)
        if (constraint)
            constraint->setActive(false);
}

void NSLayoutConstraint::_setFirst(const std::shared_ptr<platform::LayoutItem>& item,
                                   NSLayoutAttribute attribute) {
    m_firstItem = item;
    m_firstAttribute = attribute;
}

void NSLayoutConstraint::_setSecond(const std::shared_ptr<platform::LayoutItem>& item,
                                    NSLayoutAttribute attribute) {
    m_secondItem = item;
    m_secondAttribute = attribute;
    m_hadSecondItem = true;
}

void NSLayoutConstraint::_setRelation(NSLayoutRelation relation, CGFloat multiplier, CGFloat constant) {
    m_relation = relation;
    m_multiplier = std::isfinite(multiplier) ? multiplier : 1;
    m_constant = std::isfinite(constant) ? constant : 0;
}

void NSLayoutConstraint::setConstant(CGFloat constant) {
    if (!std::isfinite(constant)) {
        NSLog("-[NSLayoutConstraint setConstant:]: ignoring a constant that is not a number: %s",
              description().c_str());
        return;
    }
    if (constant == m_constant)
        return;
    m_constant = constant;
    changed();
}

void NSLayoutConstraint::setPriority(UILayoutPriority priority) {
    priority = clampedPriority(priority);
    if (priority == m_priority)
        return;
    bool wasRequired = m_priority >= UILayoutPriorityRequired;
    if (m_active && wasRequired != (priority >= UILayoutPriorityRequired)) {
        NSLog("Mutating a priority from required to not on an installed constraint (or vice-versa) is not "
              "supported. You passed priority %g and the existing priority was %g: %s",
              static_cast<double>(priority), static_cast<double>(m_priority), description().c_str());
        return;
    }
    m_priority = priority;
    changed();
}

void NSLayoutConstraint::changed() {
    ++m_revision;
    if (m_holder)
        m_holder->_setNeedsLayoutEngineUpdate();
}

void NSLayoutConstraint::setActive(bool active) {
    if (active == m_active)
        return;
    if (active)
        activate();
    else
        deactivate();
}

bool NSLayoutConstraint::activate() {
    auto first = firstItem();
    auto second = secondItem();
    if (!first || (m_hadSecondItem && !second)) {
        NSLog("Unable to activate constraint %s: one of its items no longer exists.", description().c_str());
        return false;
    }
    if (!second && !NSLayoutAttributeIsDimension(m_firstAttribute)) {
        NSLog("Unable to activate constraint %s: a position must be related to another item.",
              description().c_str());
        return false;
    }
    UIView* firstView = first->_layoutOwningView();
    UIView* secondView = second ? second->_layoutOwningView() : firstView;
    UIView* holder = firstView && secondView ? commonAncestor(firstView, secondView) : nullptr;
    auto self = selfAs<NSLayoutConstraint>();
    if (!holder || !self) {
        NSLog(
            "Unable to activate constraint %s because its items have no common ancestor. Does the constraint "
            "or its anchors reference items in different view hierarchies? That's illegal.",
            description().c_str());
        return false;
    }
    m_active = true;
    m_holder = holder;
    holder->_holdConstraint(self);
    return true;
}

void NSLayoutConstraint::deactivate() {
    UIView* holder = m_holder;
    m_active = false;
    m_holder = nullptr;
    if (holder)
        holder->_releaseConstraint(*this);
}

std::string NSLayoutConstraint::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    auto itemText = [](const std::shared_ptr<platform::LayoutItem>& item) {
        return item ? item->_layoutItemDescription() : std::string("(nil)");
    };
    std::string text = std::string("<NSLayoutConstraint:") + address + " ";
    text += itemText(firstItem()) + "." + NSLayoutAttributeName(m_firstAttribute) + " " +
            relationSymbol(m_relation) + " ";
    if (m_hadSecondItem) {
        if (m_multiplier != 1)
            text += formatNumber(m_multiplier) + "*";
        text += itemText(secondItem()) + "." + NSLayoutAttributeName(m_secondAttribute);
        if (m_constant != 0)
            text += (m_constant > 0 ? " + " : " - ") + formatNumber(std::fabs(m_constant));
    } else {
        text += formatNumber(m_constant);
    }
    if (m_priority < UILayoutPriorityRequired)
        text += " @" + formatNumber(m_priority);
    if (!m_identifier.empty())
        text += " '" + m_identifier + "'";
    text += m_active ? "   (active)>" : "   (inactive)>";
    return text;
}
