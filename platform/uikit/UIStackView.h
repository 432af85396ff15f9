#pragma once

#include <memory>
#include <vector>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIView.h"

enum UIStackViewAlignment : int {
    UIStackViewAlignmentFill = 0,
    UIStackViewAlignmentLeading = 1,
    UIStackViewAlignmentTop = 1,
    UIStackViewAlignmentCenter = 3,
    UIStackViewAlignmentTrailing = 4,
    UIStackViewAlignmentBottom = 4,
};

enum UIStackViewDistribution : int {
    UIStackViewDistributionFill = 0,
    UIStackViewDistributionFillEqually = 1,
};

// Lays out its arranged subviews in a row or column with constraints of its own: each visible one
// follows the previous at `spacing`, the first and last touch the stack's edges, and across the axis
// they fill the stack or align to one of its edges or its centre (the stack is then as wide as its
// widest view). A hidden arranged view takes no room. Arranged views are laid out by constraints
// (the stack turns their translated masks off); removing one from the stack keeps it as a subview,
// removing it from the stack view removes it from the arrangement too.
class UIStackView : public UIView {
public:
    UIStackView();
    std::shared_ptr<UIStackView> initWithArrangedSubviews(const std::vector<std::shared_ptr<UIView>>& views);

    const std::vector<std::shared_ptr<UIView>>& arrangedSubviews() const { return m_arrangedSubviews; }
    void addArrangedSubview(const std::shared_ptr<UIView>& view);
    void insertArrangedSubview(const std::shared_ptr<UIView>& view, std::size_t index);
    void removeArrangedSubview(const std::shared_ptr<UIView>& view);

    UILayoutConstraintAxis axis() const { return m_axis; }
    void setAxis(UILayoutConstraintAxis axis);
    CGFloat spacing() const { return m_spacing; }
    void setSpacing(CGFloat spacing);
    UIStackViewAlignment alignment() const { return m_alignment; }
    void setAlignment(UIStackViewAlignment alignment);
    UIStackViewDistribution distribution() const { return m_distribution; }

    void willRemoveSubview(const std::shared_ptr<UIView>& subview) override;

protected:
    void subviewDidChangeHidden(const std::shared_ptr<UIView>& subview) override;

private:
    void rebuildConstraints();
    void addAxisConstraints(const std::vector<std::shared_ptr<UIView>>& visible);
    void addCrossConstraints(const std::shared_ptr<UIView>& view);
    void add(const std::shared_ptr<NSLayoutConstraint>& constraint,
             UILayoutPriority priority = UILayoutPriorityRequired);

    std::vector<std::shared_ptr<UIView>> m_arrangedSubviews;
    std::vector<std::shared_ptr<NSLayoutConstraint>> m_arrangement;
    CGFloat m_spacing = 0;
    UILayoutConstraintAxis m_axis = UILayoutConstraintAxisHorizontal;
    UIStackViewAlignment m_alignment = UIStackViewAlignmentFill;
    UIStackViewDistribution m_distribution = UIStackViewDistributionFill;
};

using UIStackViewPtr = std::shared_ptr<UIStackView>;
