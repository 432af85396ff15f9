#pragma once

#include <memory>

#include "platform/uikit/UIGeometry.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UIScrollViewDelegate.h"
#include "platform/uikit/UIView.h"

enum UIScrollViewContentInsetAdjustmentBehavior : int {
    UIScrollViewContentInsetAdjustmentAutomatic = 0,
    UIScrollViewContentInsetAdjustmentScrollableAxes,
    UIScrollViewContentInsetAdjustmentNever,
    UIScrollViewContentInsetAdjustmentAlways,
};

// A view that shows part of a larger content area: the content offset is its bounds' origin, so
// scrolling moves what it shows without moving any frame.
//
// Constraints between the scroll view's edges or centres and views inside it attach to the content
// area (contentLayoutGuide), and after a layout pass the content size is the size those constraints
// give it; widths and heights still attach to the scroll view's frame. Without such constraints the
// content size is what code sets.
//
// The adjusted content inset is the content inset plus what the system adds (the safe area: bars
// over the content, set by the containers) unless the adjustment behaviour is Never.
class UIScrollView : public UIView {
public:
    static constexpr platform::RegisteredName<UIScrollView> registeredName{"UIScrollView"};
    UIScrollView();
    ~UIScrollView() override;

    std::shared_ptr<UIScrollViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<UIScrollViewDelegate>& delegate) { m_delegate = delegate; }

    CGSize contentSize() const { return m_contentSize; }
    void setContentSize(CGSize size);
    CGPoint contentOffset() const { return bounds().origin; }
    // Tells the delegate scrollViewDidScroll when the offset changes. Animated scrolling jumps at once
    // here and then tells the delegate the scrolling animation ended.
    void setContentOffset(CGPoint offset, bool animated = false);
    void setBounds(CGRect bounds) override;

    UIEdgeInsets contentInset() const { return m_contentInset; }
    void setContentInset(UIEdgeInsets inset);
    UIEdgeInsets adjustedContentInset() const;
    UIScrollViewContentInsetAdjustmentBehavior contentInsetAdjustmentBehavior() const {
        return m_adjustmentBehavior;
    }
    void setContentInsetAdjustmentBehavior(UIScrollViewContentInsetAdjustmentBehavior behavior);
    void _setSystemContentInset(UIEdgeInsets inset);

    UIEdgeInsets scrollIndicatorInsets() const { return m_scrollIndicatorInsets; }
    void setScrollIndicatorInsets(UIEdgeInsets insets) { m_scrollIndicatorInsets = insets; }
    void setShowsHorizontalScrollIndicator(bool shows) { m_showsHorizontalIndicator = shows; }
    void setShowsVerticalScrollIndicator(bool shows) { m_showsVerticalIndicator = shows; }
    void setScrollEnabled(bool enabled) { m_scrollEnabled = enabled; }
    bool bounces() const { return m_bounces; }

    std::shared_ptr<UILayoutGuide> contentLayoutGuide();
    std::shared_ptr<UILayoutGuide> frameLayoutGuide();

    // A person dragging the content to an offset (what hosts replay): willBeginDragging, the offset
    // (didScroll), didEndDragging without deceleration. Ignored when scrolling is off.
    void _dragToContentOffset(CGPoint offset);

    void layoutSubviews() override;
    void safeAreaInsetsDidChange() override;
    platform::LayoutItem* _resolvedLayoutItem(NSLayoutAttribute attribute,
                                              const platform::LayoutItem* other) override;

private:
    void adjustedInsetMayHaveChanged(UIEdgeInsets previous);

    std::weak_ptr<UIScrollViewDelegate> m_delegate;
    std::shared_ptr<UILayoutGuide> m_contentLayoutGuide;
    std::shared_ptr<UILayoutGuide> m_frameLayoutGuide;
    CGSize m_contentSize = CGSizeZero;
    UIEdgeInsets m_contentInset;
    UIEdgeInsets m_systemInset;
    UIEdgeInsets m_scrollIndicatorInsets;
    UIScrollViewContentInsetAdjustmentBehavior m_adjustmentBehavior =
        UIScrollViewContentInsetAdjustmentAutomatic;
    bool m_showsHorizontalIndicator = true;
    bool m_showsVerticalIndicator = true;
    bool m_scrollEnabled = true;
    bool m_bounces = true;
    bool m_alwaysBounceVertical = false;
    bool m_alwaysBounceHorizontal = false;
};

using UIScrollViewPtr = std::shared_ptr<UIScrollView>;
