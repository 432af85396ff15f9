#include "platform/uikit/LayoutEngine.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/foundation/NSLog.h"
#include "platform/uikit/AutoresizingRule.h"
#include "platform/uikit/LayoutItem.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UIView.h"

namespace platform {

namespace {

using layout::Constraint;
using layout::Expression;
using layout::Strength;

// The top view's size is held just below required: code that sizes a window means it, and a
// required constraint that disagrees still wins (and the view keeps the size the code gave it).
constexpr float kRootSizePriority = 999.5f;

layout::Relation relationFor(NSLayoutRelation relation) {
    switch (relation) {
    case NSLayoutRelationLessThanOrEqual:
        return layout::Relation::LessOrEqual;
    case NSLayoutRelationGreaterThanOrEqual:
        return layout::Relation::GreaterOrEqual;
    case NSLayoutRelationEqual:
        break;
    }
    return layout::Relation::Equal;
}

void logBrokenConstraint(const std::string& description) {
    NSLog("[LayoutConstraints] Unable to simultaneously satisfy constraints.\n"
          "Will attempt to recover by breaking constraint \n%s\n",
          description.c_str());
}

void addIntrinsicConstraints(const UIView& view, std::vector<Constraint>& out) {
    CGSize size = view.intrinsicContentSize();
    const std::array<std::pair<CGFloat, UILayoutConstraintAxis>, 2> dimensions{
        {{size.width, UILayoutConstraintAxisHorizontal}, {size.height, UILayoutConstraintAxisVertical}}};
    for (const auto& [extent, axis] : dimensions) {
        if (!(extent >= 0))
            continue;
        const auto& variable = axis == UILayoutConstraintAxisHorizontal ? view._width() : view._height();
        out.push_back((Expression(variable) >= extent) |
                      Strength::fromPriority(view.contentCompressionResistancePriorityForAxis(axis)));
        out.push_back((Expression(variable) <= extent) |
                      Strength::fromPriority(view.contentHuggingPriorityForAxis(axis)));
    }
}

// The frame and the mask, written against the superview's variables (see AutoresizingRule).
void addAutoresizingConstraints(const UIView& view, const UIView& superview, std::vector<Constraint>& out) {
    CGRect frame = view._autoresizingFrame();
    CGSize reference = view._autoresizingSuperviewSize();
    UIViewAutoresizing mask = superview.autoresizesSubviews() ? view.autoresizingMask() : 0;
    AutoresizingRule horizontal = AutoresizingRule::horizontal(mask, frame, reference.width);
    AutoresizingRule vertical = AutoresizingRule::vertical(mask, frame, reference.height);
    Expression growX = Expression(superview._width()) - reference.width;
    Expression growY = Expression(superview._height()) - reference.height;
    out.push_back(Expression(view._minX()) ==
                  Expression(superview._minX()) + frame.origin.x + growX * horizontal.originShare);
    out.push_back(Expression(view._width()) == frame.size.width + growX * horizontal.sizeShare);
    out.push_back(Expression(view._minY()) ==
                  Expression(superview._minY()) + frame.origin.y + growY * vertical.originShare);
    out.push_back(Expression(view._height()) == frame.size.height + growY * vertical.sizeShare);
}

void addGuideConstraints(const UILayoutGuide& guide, std::vector<Constraint>& out) {
    const UIView* owner = guide.owningView();
    if (!owner)
        return;
    Expression left(owner->_minX()), top(owner->_minY()), width(owner->_width()), height(owner->_height());
    switch (guide._kind()) {
    case UILayoutGuide::Kind::Margins: {
        UIEdgeInsets margins = owner->_effectiveLayoutMargins();
        out.push_back(Expression(guide._minX()) == left + margins.left);
        out.push_back(Expression(guide._minY()) == top + margins.top);
        out.push_back(Expression(guide._width()) == width - (margins.left + margins.right));
        out.push_back(Expression(guide._height()) == height - (margins.top + margins.bottom));
        break;
    }
    case UILayoutGuide::Kind::SafeArea: {
        UIEdgeInsets insets = owner->safeAreaInsets();
        out.push_back(Expression(guide._minX()) == left + insets.left);
        out.push_back(Expression(guide._minY()) == top + insets.top);
        out.push_back(Expression(guide._width()) == width - (insets.left + insets.right));
        out.push_back(Expression(guide._height()) == height - (insets.top + insets.bottom));
        break;
    }
    case UILayoutGuide::Kind::TopLayout:
    case UILayoutGuide::Kind::BottomLayout: {
        UIEdgeInsets insets = owner->safeAreaInsets();
        bool topBand = guide._kind() == UILayoutGuide::Kind::TopLayout;
        CGFloat length = topBand ? insets.top : insets.bottom;
        out.push_back(Expression(guide._minX()) == left);
        out.push_back(Expression(guide._width()) == width);
        out.push_back(Expression(guide._height()) == length);
        out.push_back(topBand ? Expression(guide._minY()) == top
                              : Expression(guide._minY()) == top + height - length);
        break;
    }
    case UILayoutGuide::Kind::Content:
        out.push_back(Expression(guide._minX()) == left);
        out.push_back(Expression(guide._minY()) == top);
        out.push_back(Expression(guide._width()) >= 0.0);
        out.push_back(Expression(guide._height()) >= 0.0);
        break;
    case UILayoutGuide::Kind::Frame:
        out.push_back(Expression(guide._minX()) == left);
        out.push_back(Expression(guide._minY()) == top);
        out.push_back(Expression(guide._width()) == width);
        out.push_back(Expression(guide._height()) == height);
        break;
    }
}

} // namespace

LayoutEngine::LayoutEngine(UIView& root) : m_root(root) {}

LayoutEngine::~LayoutEngine() {
    for (auto& [key, entry] : m_items)
        if (auto item = entry.item.lock(); item && item->_layoutEngine() == this)
            item->_setLayoutEngine(nullptr);
}

void LayoutEngine::updateIfNeeded() {
    if (!m_needsUpdate)
        return;
    m_needsUpdate = false;
    ++m_pass;
    m_wantedItems.clear();
    m_wantedConstraints.clear();
    collect(m_root);
    removeStale();
    addMissing();
    updateRootSize();
    m_solver.updateVariables();
    markMovedViews();
}

void LayoutEngine::collect(UIView& view) {
    for (auto constraints = view.constraints(); const auto& constraint : constraints)
        if (constraint->isActive())
            wantConstraint(*constraint);
    for (const auto& subview : view.subviews())
        collect(*subview);
}

void LayoutEngine::want(LayoutItem& item) {
    auto [position, inserted] = m_items.try_emplace(&item);
    ItemEntry& entry = position->second;
    if (!inserted && entry.item.lock().get() != &item) {
        // Another item that lived at this address: forget what the old one added.
        for (const auto& constraint : entry.own)
            m_solver.removeConstraint(constraint);
        entry = ItemEntry{};
    }
    if (entry.seen == m_pass)
        return;
    if (inserted || entry.item.expired())
        entry.item = item._layoutItemHandle();
    entry.seen = m_pass;
    item._setLayoutEngine(this);
    m_wantedItems.push_back(&item);

    UIView* owner = item._layoutOwningView();
    if (!owner)
        return;
    if (owner != &item)
        want(*owner);
    else if (owner != &m_root)
        if (auto superview = owner->superview())
            want(*superview);
}

void LayoutEngine::wantConstraint(NSLayoutConstraint& constraint) {
    auto [position, inserted] = m_constraints.try_emplace(&constraint);
    ConstraintEntry& entry = position->second;
    if (!inserted && entry.constraint.lock().get() != &constraint) {
        if (entry.solved)
            m_solver.removeConstraint(*entry.solved);
        entry = ConstraintEntry{};
    }
    if (entry.seen == m_pass)
        return;
    if (entry.constraint.expired())
        entry.constraint = constraint.selfAs<NSLayoutConstraint>();
    entry.seen = m_pass;
    m_wantedConstraints.push_back(&constraint);

    auto first = constraint.firstItem();
    auto second = constraint.secondItem();
    if (first)
        want(*first->_resolvedLayoutItem(constraint.firstAttribute(), second.get()));
    if (second)
        want(*second->_resolvedLayoutItem(constraint.secondAttribute(), first.get()));
}

// Everything that left the tree or changed comes out first, so that a replacement never meets the
// constraint it replaces.
void LayoutEngine::removeStale() {
    bool removedAny = false;
    for (auto position = m_constraints.begin(); position != m_constraints.end();) {
        ConstraintEntry& entry = position->second;
        auto constraint = entry.constraint.lock();
        bool gone = entry.seen != m_pass || !constraint;
        if (gone || (entry.built && entry.revision != constraint->_revision())) {
            removedAny = removedAny || (gone && entry.solved.has_value());
            if (entry.solved)
                m_solver.removeConstraint(*entry.solved);
            entry.solved.reset();
            entry.built = false;
        }
        position = gone ? m_constraints.erase(position) : std::next(position);
    }
    for (auto position = m_items.begin(); position != m_items.end();) {
        ItemEntry& entry = position->second;
        auto item = entry.item.lock();
        bool gone = entry.seen != m_pass || !item;
        if (gone || (entry.built && entry.revision != item->_layoutRevision())) {
            for (const auto& constraint : entry.own)
                m_solver.removeConstraint(constraint);
            entry.own.clear();
            entry.built = false;
        }
        if (gone && item && item->_layoutEngine() == this)
            item->_setLayoutEngine(nullptr);
        position = gone ? m_items.erase(position) : std::next(position);
    }
    // Whatever was left out for a conflict may fit now that a constraint is gone.
    if (removedAny)
        for (auto& [key, entry] : m_constraints)
            if (entry.built && !entry.solved)
                entry.built = false;
}

void LayoutEngine::addMissing() {
    for (const LayoutItem* key : m_wantedItems) {
        ItemEntry& entry = m_items[key];
        auto item = entry.item.lock();
        if (entry.built || !item)
            continue;
        entry.revision = item->_layoutRevision();
        entry.built = true;
        for (auto& constraint : ownConstraints(*item))
            if (addToSolver(constraint, nullptr))
                entry.own.push_back(std::move(constraint));
    }
    for (const NSLayoutConstraint* key : m_wantedConstraints) {
        ConstraintEntry& entry = m_constraints[key];
        auto constraint = entry.constraint.lock();
        if (entry.built || !constraint)
            continue;
        entry.revision = constraint->_revision();
        entry.built = true;
        entry.solved = solverConstraint(*constraint);
        if (entry.solved && !addToSolver(*entry.solved, constraint.get()))
            entry.solved.reset();
    }
}

bool LayoutEngine::addToSolver(const Constraint& constraint, const NSLayoutConstraint* owner) {
    layout::AddResult result = m_solver.addConstraint(constraint);
    if (result == layout::AddResult::Added)
        return true;
    std::string description = owner ? owner->description()
                                    : "<NSAutoresizingMaskLayoutConstraint " + constraint.description() + ">";
    if (result == layout::AddResult::Unsatisfiable)
        logBrokenConstraint(description);
    else
        NSLog("[LayoutConstraints] Could not add constraint (%s): %s", layout::describe(result),
              description.c_str());
    return false;
}

std::vector<Constraint> LayoutEngine::ownConstraints(LayoutItem& item) {
    std::vector<Constraint> constraints;
    if (auto* guide = dynamic_cast<UILayoutGuide*>(&item)) {
        addGuideConstraints(*guide, constraints);
        return constraints;
    }
    auto* view = dynamic_cast<UIView*>(&item);
    if (!view)
        return constraints;
    auto superview = view->superview();
    if (view == &m_root || !superview) {
        constraints.push_back(Expression(view->_minX()) == 0.0);
        constraints.push_back(Expression(view->_minY()) == 0.0);
    } else if (view->translatesAutoresizingMaskIntoConstraints()) {
        addAutoresizingConstraints(*view, *superview, constraints);
    }
    if (!view->translatesAutoresizingMaskIntoConstraints())
        addIntrinsicConstraints(*view, constraints);
    return constraints;
}

std::optional<Constraint> LayoutEngine::solverConstraint(NSLayoutConstraint& constraint) {
    auto first = constraint.firstItem();
    auto second = constraint.secondItem();
    if (!first)
        return std::nullopt;
    Expression lhs = first->_resolvedLayoutItem(constraint.firstAttribute(), second.get())
                         ->_expressionFor(constraint.firstAttribute());
    Expression rhs(constraint.constant());
    if (second)
        rhs = second->_resolvedLayoutItem(constraint.secondAttribute(), first.get())
                      ->_expressionFor(constraint.secondAttribute()) *
                  constraint.multiplier() +
              constraint.constant();
    return Constraint(lhs - rhs, relationFor(constraint.relation()),
                      Strength::fromPriority(constraint.priority()));
}

// A top view laid out by its own constraints takes the size they give; any other keeps its size.
void LayoutEngine::updateRootSize() {
    bool sizedByCode = m_root.translatesAutoresizingMaskIntoConstraints();
    if (!sizedByCode) {
        if (m_rootEditSize) {
            m_solver.removeEditVariable(m_root._width());
            m_solver.removeEditVariable(m_root._height());
            m_rootEditSize.reset();
        }
        return;
    }
    CGSize size = m_root.bounds().size;
    if (!m_rootEditSize) {
        auto strength = Strength::fromPriority(kRootSizePriority);
        m_solver.addEditVariable(m_root._width(), strength);
        m_solver.addEditVariable(m_root._height(), strength);
    } else if (*m_rootEditSize == size) {
        return;
    }
    m_solver.suggestValue(m_root._width(), size.width);
    m_solver.suggestValue(m_root._height(), size.height);
    m_rootEditSize = size;
}

std::optional<CGRect> LayoutEngine::solvedFrame(const UIView& view) const {
    if (!isMember(view))
        return std::nullopt;
    CGRect frame =
        CGRectMake(view._minX().value(), view._minY().value(), view._width().value(), view._height().value());
    if (&view != &m_root)
        if (auto superview = view.superview()) {
            frame.origin.x -= superview->_minX().value();
            frame.origin.y -= superview->_minY().value();
        }
    return frame;
}

void LayoutEngine::markMovedViews() {
    for (const LayoutItem* key : m_wantedItems) {
        auto* view = dynamic_cast<const UIView*>(key);
        if (!view || view->translatesAutoresizingMaskIntoConstraints())
            continue;
        auto solved = solvedFrame(*view);
        if (!solved)
            continue;
        CGPoint center{solved->origin.x + solved->size.width / 2, solved->origin.y + solved->size.height / 2};
        if (view == &m_root) {
            if (view->bounds().size != solved->size)
                m_root._setFrameFromLayout({m_root.frame().origin, solved->size});
            continue;
        }
        if (view->center() != center || view->bounds().size != solved->size)
            if (auto superview = view->superview())
                superview->setNeedsLayout();
    }
}

} // namespace platform
