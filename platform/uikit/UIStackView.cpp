#include "platform/uikit/UIStackView.h"

#include <algorithm>
#include <cmath>

#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"

namespace {

[[maybe_unused]] const Class registeredStackView =
    platform::registerClass<UIStackView, UIView>("UIStackView");

// Keeps a stack with nothing to size it across its axis from being ambiguous, below anything real.
constexpr UILayoutPriority kCanvasFitPriority = 49;

std::shared_ptr<NSLayoutConstraint> relate(const std::shared_ptr<UIView>& view, NSLayoutAttribute attribute,
                                           NSLayoutRelation relation, const std::shared_ptr<UIView>& other,
                                           NSLayoutAttribute otherAttribute, CGFloat constant = 0) {
    return NSLayoutConstraint::constraintWithItem(view, attribute, relation, other, otherAttribute, 1,
                                                  constant);
}

} // namespace

UIStackView::UIStackView() = default;

std::shared_ptr<UIStackView>
UIStackView::initWithArrangedSubviews(const std::vector<std::shared_ptr<UIView>>& views) {
    for (const auto& view : views)
        addArrangedSubview(view);
    return selfAs<UIStackView>();
}

void UIStackView::addArrangedSubview(const std::shared_ptr<UIView>& view) {
    insertArrangedSubview(view, m_arrangedSubviews.size());
}

void UIStackView::insertArrangedSubview(const std::shared_ptr<UIView>& view, std::size_t index) {
    if (!view || view.get() == this)
        return;
    auto existing = std::find(m_arrangedSubviews.begin(), m_arrangedSubviews.end(), view);
    if (existing != m_arrangedSubviews.end())
        m_arrangedSubviews.erase(existing);
    index = std::min(index, m_arrangedSubviews.size());
    m_arrangedSubviews.insert(m_arrangedSubviews.begin() + static_cast<std::ptrdiff_t>(index), view);
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    if (view->superview().get() != this)
        addSubview(view);
    rebuildConstraints();
}

void UIStackView::removeArrangedSubview(const std::shared_ptr<UIView>& view) {
    auto existing = std::find(m_arrangedSubviews.begin(), m_arrangedSubviews.end(), view);
    if (existing == m_arrangedSubviews.end())
        return;
    m_arrangedSubviews.erase(existing);
    rebuildConstraints();
}

void UIStackView::willRemoveSubview(const std::shared_ptr<UIView>& subview) {
    UIView::willRemoveSubview(subview);
    removeArrangedSubview(subview);
}

void UIStackView::subviewDidChangeHidden(const std::shared_ptr<UIView>& subview) {
    if (std::find(m_arrangedSubviews.begin(), m_arrangedSubviews.end(), subview) != m_arrangedSubviews.end())
        rebuildConstraints();
}

void UIStackView::setAxis(UILayoutConstraintAxis axis) {
    if (axis == m_axis)
        return;
    m_axis = axis;
    rebuildConstraints();
}

void UIStackView::setSpacing(CGFloat spacing) {
    spacing = std::isfinite(spacing) ? spacing : 0;
    if (spacing == m_spacing)
        return;
    m_spacing = spacing;
    rebuildConstraints();
}

void UIStackView::setAlignment(UIStackViewAlignment alignment) {
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    rebuildConstraints();
}

void UIStackView::add(const std::shared_ptr<NSLayoutConstraint>& constraint, UILayoutPriority priority) {
    constraint->setPriority(priority);
    constraint->setActive(true);
    m_arrangement.push_back(constraint);
}

void UIStackView::rebuildConstraints() {
    NSLayoutConstraint::deactivateConstraints(m_arrangement);
    m_arrangement.clear();
    std::vector<std::shared_ptr<UIView>> visible;
    for (const auto& view : m_arrangedSubviews)
        if (!view->isHidden() && view->superview().get() == this)
            visible.push_back(view);
    if (visible.empty())
        return;
    addAxisConstraints(visible);
    for (const auto& view : visible)
        addCrossConstraints(view);
    if (m_alignment != UIStackViewAlignmentFill) {
        auto self = selfAs<UIView>();
        NSLayoutAttribute size =
            m_axis == UILayoutConstraintAxisHorizontal ? NSLayoutAttributeHeight : NSLayoutAttributeWidth;
        add(NSLayoutConstraint::constraintWithItem(self, size, NSLayoutRelationEqual, nullptr,
                                                   NSLayoutAttributeNotAnAttribute, 0, 0),
            kCanvasFitPriority);
    }
}

void UIStackView::addAxisConstraints(const std::vector<std::shared_ptr<UIView>>& visible) {
    auto self = selfAs<UIView>();
    bool horizontal = m_axis == UILayoutConstraintAxisHorizontal;
    NSLayoutAttribute leading = horizontal ? NSLayoutAttributeLeading : NSLayoutAttributeTop;
    NSLayoutAttribute trailing = horizontal ? NSLayoutAttributeTrailing : NSLayoutAttributeBottom;
    NSLayoutAttribute size = horizontal ? NSLayoutAttributeWidth : NSLayoutAttributeHeight;
    add(relate(visible.front(), leading, NSLayoutRelationEqual, self, leading));
    for (std::size_t index = 1; index < visible.size(); ++index) {
        add(relate(visible[index], leading, NSLayoutRelationEqual, visible[index - 1], trailing, m_spacing));
        if (m_distribution == UIStackViewDistributionFillEqually)
            add(relate(visible[index], size, NSLayoutRelationEqual, visible.front(), size));
    }
    add(relate(visible.back(), trailing, NSLayoutRelationEqual, self, trailing));
}

void UIStackView::addCrossConstraints(const std::shared_ptr<UIView>& view) {
    auto self = selfAs<UIView>();
    bool horizontal = m_axis == UILayoutConstraintAxisHorizontal;
    NSLayoutAttribute leading = horizontal ? NSLayoutAttributeTop : NSLayoutAttributeLeading;
    NSLayoutAttribute trailing = horizontal ? NSLayoutAttributeBottom : NSLayoutAttributeTrailing;
    NSLayoutAttribute center = horizontal ? NSLayoutAttributeCenterY : NSLayoutAttributeCenterX;
    switch (m_alignment) {
    case UIStackViewAlignmentFill:
        add(relate(view, leading, NSLayoutRelationEqual, self, leading));
        add(relate(view, trailing, NSLayoutRelationEqual, self, trailing));
        break;
    case UIStackViewAlignmentLeading:
        add(relate(view, leading, NSLayoutRelationEqual, self, leading));
        add(relate(view, trailing, NSLayoutRelationLessThanOrEqual, self, trailing));
        break;
    case UIStackViewAlignmentCenter:
        add(relate(view, center, NSLayoutRelationEqual, self, center));
        add(relate(view, leading, NSLayoutRelationGreaterThanOrEqual, self, leading));
        break;
    case UIStackViewAlignmentTrailing:
        add(relate(view, trailing, NSLayoutRelationEqual, self, trailing));
        add(relate(view, leading, NSLayoutRelationGreaterThanOrEqual, self, leading));
        break;
    }
}
