#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/NSLayoutAttribute.h"

class UIView;

namespace platform {
class LayoutItem;
}

// firstItem.firstAttribute <relation> secondItem.secondAttribute * multiplier + constant, at a priority.
//
// Items are held weakly. Activating a constraint stores it on the nearest common ancestor of its
// items' views (constraints()), and the layout engine of that tree solves it; a constraint whose items
// share no ancestor, or that relates an edge to nothing, is logged and stays inactive. Changing the
// constant of an active constraint is re-solved incrementally at the next layout pass. A required
// constraint that conflicts with others is logged the way the platform logs it and left out until its
// constant or priority changes.
class NSLayoutConstraint : public NSObject {
public:
    NSLayoutConstraint() = default;

    static std::shared_ptr<NSLayoutConstraint>
    constraintWithItem(const std::shared_ptr<platform::LayoutItem>& firstItem,
                       NSLayoutAttribute firstAttribute, NSLayoutRelation relation,
                       const std::shared_ptr<platform::LayoutItem>& secondItem,
                       NSLayoutAttribute secondAttribute, CGFloat multiplier, CGFloat constant);
    static void activateConstraints(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
    static void deactivateConstraints(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);

    std::shared_ptr<platform::LayoutItem> firstItem() const { return m_firstItem.lock(); }
    std::shared_ptr<platform::LayoutItem> secondItem() const { return m_secondItem.lock(); }
    NSLayoutAttribute firstAttribute() const { return m_firstAttribute; }
    NSLayoutAttribute secondAttribute() const { return m_secondAttribute; }
    NSLayoutRelation relation() const { return m_relation; }
    CGFloat multiplier() const { return m_multiplier; }

    CGFloat constant() const { return m_constant; }
    void setConstant(CGFloat constant);
    UILayoutPriority priority() const { return m_priority; }
    // As on the platform, an active constraint cannot move between required and optional (logged,
    // ignored).
    void setPriority(UILayoutPriority priority);
    bool isActive() const { return m_active; }
    void setActive(bool active);
    const std::string& identifier() const { return m_identifier; }
    void setIdentifier(std::string identifier) { m_identifier = std::move(identifier); }

    // "<NSLayoutConstraint:0x... UILabel:0x....top == UIView:0x....top + 8 (active)>"
    std::string description() const override;

    // --- For the layout engine --------------------------------------------------------------------
    // Changes with the constant and priority, so the engine knows to solve the constraint again.
    std::uint64_t _revision() const { return m_revision; }
    // The view that stores the constraint while it is active.
    UIView* _holder() const { return m_holder; }
    void _setFirst(const std::shared_ptr<platform::LayoutItem>& item, NSLayoutAttribute attribute);
    void _setSecond(const std::shared_ptr<platform::LayoutItem>& item, NSLayoutAttribute attribute);
    void _setRelation(NSLayoutRelation relation, CGFloat multiplier, CGFloat constant);
    // Called when a view holding the constraint lets go of it (its items left the tree).
    void _detachFromHolder() {
        m_active = false;
        m_holder = nullptr;
    }

private:
    bool activate();
    void deactivate();
    void changed();

    std::weak_ptr<platform::LayoutItem> m_firstItem;
    std::weak_ptr<platform::LayoutItem> m_secondItem;
    std::string m_identifier;
    UIView* m_holder = nullptr;
    CGFloat m_multiplier = 1;
    CGFloat m_constant = 0;
    std::uint64_t m_revision = 1;
    UILayoutPriority m_priority = UILayoutPriorityRequired;
    NSLayoutAttribute m_firstAttribute = NSLayoutAttributeNotAnAttribute;
    NSLayoutAttribute m_secondAttribute = NSLayoutAttributeNotAnAttribute;
    NSLayoutRelation m_relation = NSLayoutRelationEqual;
    bool m_active = false;
    bool m_hadSecondItem = false;
};

using NSLayoutConstraintPtr = std::shared_ptr<NSLayoutConstraint>;
