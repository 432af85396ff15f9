#pragma once

#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "uikit/UIColor.h"
#include "uikit/UIResponder.h"

class UITraitCollection;
class UIViewController;
class UIWindow;

// A node of the view tree. Owns its subviews; its superview and window are weak links. Geometry and
// layout join later; for now a view carries its colours, flags and place in the tree, and tells
// subclasses when that place changes (willMove/didMove callbacks), when its effective tint changes
// and when its traits change.
class UIView : public UIResponder {
public:
    UIView() = default;
    ~UIView() override;

    // --- The tree -------------------------------------------------------------------------------
    // Moves view here from wherever it was (appended on top). Adding a view to itself or to one of
    // its own descendants is refused (logged), since it would make a cycle.
    void addSubview(const std::shared_ptr<UIView>& view);
    void insertSubview(const std::shared_ptr<UIView>& view, std::size_t index);
    void removeFromSuperview();
    void bringSubviewToFront(const std::shared_ptr<UIView>& view);
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
    virtual void setHidden(bool hidden) { m_hidden = hidden; }
    double alpha() const { return m_alpha; }
    void setAlpha(double alpha);
    long tag() const { return m_tag; }
    void setTag(long tag) { m_tag = tag; }
    bool isUserInteractionEnabled() const { return m_userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { m_userInteractionEnabled = enabled; }
    const std::string& accessibilityLabel() const { return m_accessibilityLabel; }
    void setAccessibilityLabel(std::string label) { m_accessibilityLabel = std::move(label); }

    // The window's trait collection when the view is in a window that has one, else the current one.
    virtual std::shared_ptr<UITraitCollection> traitCollection() const;
    virtual void traitCollectionDidChange(const std::shared_ptr<UITraitCollection>& previous);

    // --- Ownership by a view controller ---------------------------------------------------------
    // The view controller whose view this is (weak), set by the controller when it loads the view.
    std::shared_ptr<UIViewController> _viewDelegate() const { return m_viewDelegate.lock(); }
    void _setViewDelegate(const std::shared_ptr<UIViewController>& controller) {
        m_viewDelegate = controller;
    }
    // The nearest view controller owning this view or an ancestor: the responder chain's answer.
    std::shared_ptr<UIViewController> _viewControllerForAncestor() const;

    // --- Appearance proxies ---------------------------------------------------------------------
    // Applies one value recorded on an appearance proxy ("tintColor", "onTintColor", ...). A property
    // that was set on the view itself keeps its own value. Returns whether the property is known.
    virtual bool _applyAppearanceValue(std::string_view property, const id& value);
    bool _isPropertySetExplicitly(std::string_view property) const;

protected:
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
};

using UIViewPtr = std::shared_ptr<UIView>;
