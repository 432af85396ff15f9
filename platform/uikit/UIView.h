#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/LayoutItem.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIGeometry.h"
#include "platform/uikit/UIResponder.h"

class CALayer;
class NSLayoutConstraint;
class UIEvent;
class UILayoutGuide;
class UITraitCollection;
class UIViewController;
class UIWindow;

namespace platform {
class LayoutEngine;
}

using UIViewAutoresizing = std::uint32_t;
enum : UIViewAutoresizing {
    UIViewAutoresizingNone = 0,
    UIViewAutoresizingFlexibleLeftMargin = 1u << 0,
    UIViewAutoresizingFlexibleWidth = 1u << 1,
    UIViewAutoresizingFlexibleRightMargin = 1u << 2,
    UIViewAutoresizingFlexibleTopMargin = 1u << 3,
    UIViewAutoresizingFlexibleHeight = 1u << 4,
    UIViewAutoresizingFlexibleBottomMargin = 1u << 5,
};

enum UIViewContentMode : int {
    UIViewContentModeScaleToFill = 0,
    UIViewContentModeScaleAspectFit,
    UIViewContentModeScaleAspectFill,
    UIViewContentModeRedraw,
    UIViewContentModeCenter,
    UIViewContentModeTop,
    UIViewContentModeBottom,
    UIViewContentModeLeft,
    UIViewContentModeRight,
    UIViewContentModeTopLeft,
    UIViewContentModeTopRight,
    UIViewContentModeBottomLeft,
    UIViewContentModeBottomRight,
};

using UIViewAnimationOptions = std::uint64_t;
enum : UIViewAnimationOptions {
    UIViewAnimationOptionLayoutSubviews = 1u << 0,
    UIViewAnimationOptionAllowUserInteraction = 1u << 1,
    UIViewAnimationOptionBeginFromCurrentState = 1u << 2,
    UIViewAnimationOptionRepeat = 1u << 3,
    UIViewAnimationOptionAutoreverse = 1u << 4,
    UIViewAnimationOptionCurveEaseInOut = 0u << 16,
    UIViewAnimationOptionCurveEaseIn = 1u << 16,
    UIViewAnimationOptionCurveEaseOut = 2u << 16,
    UIViewAnimationOptionCurveLinear = 3u << 16,
};

// What intrinsicContentSize answers for a dimension the view has no opinion about.
inline constexpr CGFloat UIViewNoIntrinsicMetric = -1;

// A node of the view tree. Owns its subviews; its superview and window are weak links.
//
// Geometry is the platform's: bounds (own coordinates), centre (in the superview's bounds
// coordinates) and a transform about the centre; frame is derived from them. Views that keep
// translatesAutoresizingMaskIntoConstraints are placed by their frame and follow their superview's
// size through their autoresizing mask; the others are placed by Auto Layout: the top view of a tree
// owns one layout engine (see platform::LayoutEngine), and a layout pass (layoutIfNeeded) solves it
// and runs layoutSubviews, whose default applies the solved frames to the subviews.
class UIView : public UIResponder, public platform::LayoutItem {
public:
    static constexpr platform::RegisteredName<UIView> registeredName{"UIView"};
    UIView();
    ~UIView() override;
    // Sets the frame; returns the view (subclasses build their content here).
    virtual std::shared_ptr<UIView> initWithFrame(CGRect frame);

    // --- The tree -------------------------------------------------------------------------------
    // Moves view here from wherever it was (appended on top). Adding a view to itself or to one of
    // its own descendants is refused (logged), since it would make a cycle.
    void addSubview(const std::shared_ptr<UIView>& view);
    void insertSubview(const std::shared_ptr<UIView>& view, std::size_t index);
    void removeFromSuperview();
    const std::vector<std::shared_ptr<UIView>>& subviews() const { return m_subviews; }
    std::shared_ptr<UIView> superview() const { return m_superview.lock(); }
    // The nearest UIWindow at or above this view; nullptr when the view is not in a window.
    std::shared_ptr<UIWindow> window() const;
    bool isDescendantOfView(const std::shared_ptr<UIView>& view) const;
    // This view or the first descendant (depth first) with the tag.
    std::shared_ptr<UIView> viewWithTag(long tag);

    virtual void willMoveToSuperview(const std::shared_ptr<UIView>& newSuperview);
    virtual void didMoveToSuperview();
    virtual void willMoveToWindow(const std::shared_ptr<UIWindow>& newWindow);
    // Runs after the view and every view of its subtree entered or left a window (subviews are told
    // first). Appearance proxies have already been applied when a view enters a window.
    virtual void didMoveToWindow();
    virtual void didAddSubview(const std::shared_ptr<UIView>& subview);
    virtual void willRemoveSubview(const std::shared_ptr<UIView>& subview);

    // --- Touches --------------------------------------------------------------------------------
    // The deepest view of this subtree that contains the point (in this view's bounds coordinates)
    // and takes touches: hidden views, views with user interaction off and views with an alpha under
    // 0.01 are skipped with their subtrees, as is a view whose bounds miss the point. The last
    // subview (the one on top) is tried first. nullptr when nothing here takes the touch.
    virtual std::shared_ptr<UIView> hitTest(CGPoint point, const std::shared_ptr<UIEvent>& event);
    // Whether the point (bounds coordinates) is inside the view: its bounds by default.
    virtual bool pointInside(CGPoint point, const std::shared_ptr<UIEvent>& event) const;
    // The view's controller when it is a controller's view, else the superview.
    std::shared_ptr<UIResponder> nextResponder() const override;
    // Makes the view its window's first responder, resigning the one before.
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;
    // Resigns the first responder when it is this view or one of its descendants.
    bool endEditing(bool force);

    // --- Appearance -----------------------------------------------------------------------------
    const UIColorPtr& backgroundColor() const { return m_backgroundColor; }
    virtual void setBackgroundColor(const UIColorPtr& color);
    // The own tint colour when set, else the superview's, else the system blue.
    UIColorPtr tintColor() const;
    // Setting nil makes the view inherit again. Calls tintColorDidChange on this view and on every
    // descendant that inherits it.
    virtual void setTintColor(const UIColorPtr& color);
    virtual void tintColorDidChange() {}
    bool clipsToBounds() const { return m_clipsToBounds; }
    void setClipsToBounds(bool clips) { m_clipsToBounds = clips; }
    bool isHidden() const { return m_hidden; }
    virtual void setHidden(bool hidden);
    double alpha() const { return m_alpha; }
    // Animatable.
    void setAlpha(double alpha);
    long tag() const { return m_tag; }
    void setTag(long tag) { m_tag = tag; }
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    const std::string& accessibilityLabel() const { return m_accessibilityLabel; }
    void setAccessibilityLabel(std::string label) { m_accessibilityLabel = std::move(label); }
    UIViewContentMode contentMode() const { return m_contentMode; }
    virtual void setContentMode(UIViewContentMode mode) { m_contentMode = mode; }

    // --- Geometry -------------------------------------------------------------------------------
    // The bounds' size about the centre, through the transform: with a transform other than a
    // translation it is the bounding box, as on the platform.
    CGRect frame() const;
    void setFrame(CGRect frame);
    const CGRect& bounds() const { return m_bounds; }
    // A new origin scrolls the content; a new size keeps the centre.
    virtual void setBounds(CGRect bounds);
    const CGPoint& center() const { return m_center; }
    void setCenter(CGPoint center);
    const CGAffineTransform& transform() const { return m_transform; }
    void setTransform(CGAffineTransform transform);
    // From this view's bounds coordinates to another view's (nil: the top of the tree). Views in
    // different trees convert through their tops as if they were one space.
    CGPoint convertPoint(CGPoint point, const std::shared_ptr<UIView>& toView) const;
    CGRect convertRect(CGRect rect, const std::shared_ptr<UIView>& toView) const;
    // convertPoint:fromView: and convertRect:fromView:.
    CGPoint convertPointFromView(CGPoint point, const std::shared_ptr<UIView>& fromView) const;
    CGRect convertRectFromView(CGRect rect, const std::shared_ptr<UIView>& fromView) const;

    // The size the view would like within `size`: the current size unless a subclass knows better.
    virtual CGSize sizeThatFits(CGSize size) const;
    // Resizes the bounds to sizeThatFits(current size), keeping the frame's origin.
    void sizeToFit();
    // The size the content needs, UIViewNoIntrinsicMetric for either dimension when it does not care.
    virtual CGSize intrinsicContentSize() const;
    // Subclasses call this when their content changed size.
    void invalidateIntrinsicContentSize();
    UILayoutPriority contentHuggingPriorityForAxis(UILayoutConstraintAxis axis) const;
    UILayoutPriority contentCompressionResistancePriorityForAxis(UILayoutConstraintAxis axis) const;

    // --- Layout ---------------------------------------------------------------------------------
    bool translatesAutoresizingMaskIntoConstraints() const { return m_translatesAutoresizingMask; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates);
    UIViewAutoresizing autoresizingMask() const { return m_autoresizingMask; }
    void setAutoresizingMask(UIViewAutoresizing mask);
    bool autoresizesSubviews() const { return m_autoresizesSubviews; }
    void setAutoresizesSubviews(bool autoresizes) { m_autoresizesSubviews = autoresizes; }
    // The active constraints stored on this view (the nearest common ancestor of their items).
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints() const { return m_constraints; }
    void addConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint);
    void removeConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint);

    // 8 points on every side by default.
    void setLayoutMargins(UIEdgeInsets margins);
    // When set, a margin grows so that content kept inside it also stays inside the superview's
    // margin where the view reaches into it.
    void setPreservesSuperviewLayoutMargins(bool preserves);
    // The margins in effect, with the superview's taken into account.
    UIEdgeInsets _effectiveLayoutMargins() const;
    // The bounds inset by the margins in effect, made on first use.
    std::shared_ptr<UILayoutGuide> layoutMarginsGuide();

    // What bars and the screen's edges cover of the view: set on a view by its container
    // (_setSafeAreaInsets), else the part of the superview's safe area that the view reaches into.
    UIEdgeInsets safeAreaInsets() const;
    void _setSafeAreaInsets(UIEdgeInsets insets);
    virtual void safeAreaInsetsDidChange() {}
    // A guide of this view made on first use and kept for its life (top and bottom layout guides).
    std::shared_ptr<UILayoutGuide> _ownedLayoutGuide(int kind, const char* identifier);

    // Places the subviews: the default applies the solved frames of the subviews that Auto Layout
    // places. Overrides call it first.
    virtual void layoutSubviews();
    void setNeedsLayout();
    // Runs a layout pass over the view's whole tree: solves the constraints, then calls layoutSubviews
    // (and the owning controller's viewWillLayoutSubviews / viewDidLayoutSubviews) top-down on every
    // view that needs it, again until nothing does (at most a few rounds, for layouts that change
    // constraints while being laid out).
    void layoutIfNeeded();

    // --- Layer and animation ----------------------------------------------------------------------
    // The view's backing layer, made on first use; its geometry, opacity and clipping are the view's.
    std::shared_ptr<CALayer> layer();
    // Animatable changes (alpha, centre, transform, and so frame) made inside `animations` run over
    // the duration on the media clock: the model value changes at once, the layer's presentation
    // value follows. The completion runs on the main queue once the last of them has finished (with
    // true), or at once on the next turn when nothing was animated.
    static void animateWithDuration(double duration, std::function<void()> animations);
    static void animateWithDuration(double duration, std::function<void()> animations,
                                    std::function<void(bool)> completion);
    static void animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                    std::function<void()> animations, std::function<void(bool)> completion);
    static void performWithoutAnimation(const std::function<void()>& actions);

    // The window's trait collection when the view is in a window that has one, else the current one.
    virtual std::shared_ptr<UITraitCollection> traitCollection() const;
    virtual void traitCollectionDidChange(const std::shared_ptr<UITraitCollection>& previous);

    // --- Ownership by a view controller ---------------------------------------------------------
    // The view controller whose view this is (weak), set by the controller when it loads the view.
    std::shared_ptr<UIViewController> _viewDelegate() const { return m_viewDelegate.lock(); }
    void _setViewDelegate(const std::shared_ptr<UIViewController>& controller) {
        m_viewDelegate = controller;
    }

    // --- Appearance proxies ---------------------------------------------------------------------
    // Applies one value recorded on an appearance proxy ("tintColor", "onTintColor", ...). A property
    // that was set on the view itself keeps its own value. Returns whether the property is known.
    virtual bool _applyAppearanceValue(std::string_view property, const id& value);
    bool _isPropertySetExplicitly(std::string_view property) const;

    // --- For the layout engine ----------------------------------------------------------------------
    UIView* _layoutOwningView() const override { return const_cast<UIView*>(this); }
    std::shared_ptr<NSObject> _layoutObject() override;
    std::string _layoutItemDescription() const override;
    // The engine of this view's tree, owned by its top view and made on first use.
    platform::LayoutEngine& _layoutEngineOfTree();
    // The top of the tree: the engine's coordinate space.
    UIView& _layoutRoot();
    const UIView& _layoutRoot() const;
    // The constraints the engine must look at changed.
    void _setNeedsLayoutEngineUpdate();
    // A frame that layout (not code) chose: moves the view without changing the autoresizing
    // reference that its own translated constraints are made from.
    void _setFrameFromLayout(CGRect frame);
    // The frame and superview size from which the autoresizing mask is applied.
    CGRect _autoresizingFrame() const { return m_autoresizingFrame; }
    CGSize _autoresizingSuperviewSize() const { return m_autoresizingSuperviewSize; }
    // Constraints kept on this view while active (NSLayoutConstraint calls these).
    void _holdConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint);
    void _releaseConstraint(const NSLayoutConstraint& constraint);

protected:
    // Makes the backing layer; subclasses may return a subclass of CALayer.
    virtual std::shared_ptr<CALayer> makeBackingLayer();
    // An arranged or otherwise tracked subview was shown or hidden.
    virtual void subviewDidChangeHidden(const std::shared_ptr<UIView>& subview);

    // Setters that code calls mark their property, so later appearance values leave it alone.
    void markPropertySetExplicitly(std::string_view property);
    // Tells this view and the descendants that inherit its tint.
    void propagateTintColorChange();
    // Tells this view and its descendants (short of nested windows).
    void propagateTraitChange(const std::shared_ptr<UITraitCollection>& previous);

private:
    void propagateWillMoveToWindow(const std::shared_ptr<UIWindow>& newWindow);
    // Points the subtree at its new window, then applies appearance proxies and calls didMoveToWindow,
    // subviews before their superview.
    void propagateWindowChange(const std::shared_ptr<UIWindow>& newWindow);
    void setWindowOfSubtree(const std::shared_ptr<UIWindow>& newWindow);
    void finishWindowChange(bool enteredWindow);
    void notifyContextChange(const UIColorPtr& previousTint,
                             const std::shared_ptr<UITraitCollection>& previousTraits);
    void applyAppearanceProxies();
    void setTintColorValue(const UIColorPtr& color);
    // Geometry helpers (UIViewGeometry.cpp).
    void applyCenterAndSize(CGPoint center, CGSize size, bool fromLayout);
    void boundsSizeDidChange(CGSize oldSize);
    void resizeSubviewsWithOldSize(CGSize oldSize);
    void captureAutoresizingReference();
    void frameWasSetByCode();
    CGPoint convertPointToAncestor(CGPoint point, const UIView* ancestor) const;
    CGPoint convertPointFromAncestor(CGPoint point, const UIView* ancestor) const;
    // Layout helpers (UIViewLayout.cpp).
    void markSubtreeNeedsLayout();
    void layoutSubtreeIfNeeded(int depth);
    void treeWillChangeFor(UIView& movingView);
    void releaseConstraintsCrossing(const UIView& subtree);
    void safeAreaDidChangeInSubtree();
    void invalidateOwnedGuides();

    std::vector<std::shared_ptr<UIView>> m_subviews;
    std::weak_ptr<UIView> m_superview;
    std::weak_ptr<UIWindow> m_window;
    std::weak_ptr<UIViewController> m_viewDelegate;
    UIColorPtr m_backgroundColor;
    UIColorPtr m_tintColor;
    std::set<std::string, std::less<>> m_explicitProperties;
    std::string m_accessibilityLabel;
    double m_alpha = 1.0;
    long m_tag = 0;
    bool m_clipsToBounds = false;
    bool m_hidden = false;
    bool m_userInteractionEnabled = true;
    UIViewContentMode m_contentMode = UIViewContentModeScaleToFill;

    CGRect m_bounds = CGRectZero;
    CGPoint m_center = CGPointZero;
    CGAffineTransform m_transform = CGAffineTransformIdentity;
    CGRect m_autoresizingFrame = CGRectZero;
    CGSize m_autoresizingSuperviewSize = CGSizeZero;
    std::shared_ptr<CALayer> m_layer;

    std::vector<std::shared_ptr<NSLayoutConstraint>> m_constraints;
    std::unique_ptr<platform::LayoutEngine> m_layoutEngine;
    std::shared_ptr<UILayoutGuide> m_layoutMarginsGuide;
    std::vector<std::shared_ptr<UILayoutGuide>> m_ownedGuides;
    UIEdgeInsets m_safeAreaInsets;
    bool m_hasOwnSafeArea = false;
    UIEdgeInsets m_layoutMargins{8, 8, 8, 8};
    UILayoutPriority m_hugging[2] = {UILayoutPriorityDefaultLow, UILayoutPriorityDefaultLow};
    UILayoutPriority m_compressionResistance[2] = {UILayoutPriorityDefaultHigh, UILayoutPriorityDefaultHigh};
    UIViewAutoresizing m_autoresizingMask = UIViewAutoresizingNone;
    bool m_translatesAutoresizingMask = true;
    bool m_autoresizesSubviews = true;
    bool m_preservesSuperviewLayoutMargins = false;
    bool m_needsLayout = true;
    bool m_subtreeNeedsLayout = true;
};

using UIViewPtr = std::shared_ptr<UIView>;
