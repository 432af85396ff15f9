#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/uikit/UIResponder.h"
#include "platform/uikit/UIView.h"

class UILayoutGuide;
class UINavigationController;
class UINavigationItem;
class UITraitCollection;

// Manages one view (loaded on first use), takes part in containment (parent and children) and in
// modal presentation, and hears appearance callbacks.
//
// Appearance: viewWillAppear/viewDidAppear/viewWillDisappear/viewDidDisappear come from
// beginAppearanceTransition/endAppearanceTransition, which a window (for its root), a container
// (for the children it shows) and presentation call; a controller that is already appearing or
// visible is not told again. A container forwards each callback to the children it shows after
// getting it itself.
//
// Transitions have no duration here: an animated push, pop, presentation or dismissal has finished
// (views moved, did-callbacks run) when the call returns. Only the completion block of
// presentViewController/dismissViewControllerAnimated is deferred when animated: it runs on the main
// queue's next turn, because on the device it never runs inside the call. Without animation it runs
// before the call returns.
class UIViewController : public UIResponder {
public:
    static constexpr platform::RegisteredName<UIViewController> registeredName{"UIViewController"};
    UIViewController() = default;
    ~UIViewController() override;

    // --- The view -------------------------------------------------------------------------------
    // Loads the view on first access: loadView(), a plain UIView when loadView left none, then
    // viewDidLoad(). The view's _viewDelegate is this controller.
    std::shared_ptr<UIView> view();
    std::shared_ptr<UIView> viewIfLoaded() const { return m_view; }
    bool isViewLoaded() const { return m_view != nullptr; }
    // The view's superview: touches the controller's view passes on go up the tree.
    std::shared_ptr<UIResponder> nextResponder() const override;
    // Sets the view without loading (what loadView overrides call); nil unloads it.
    void setView(const std::shared_ptr<UIView>& view);
    virtual void loadView();
    virtual void viewDidLoad() {}
    // The bands of the view that the safe area leaves at its top (bars) and bottom; their bottom and
    // top anchors are where content may start and end.
    std::shared_ptr<UILayoutGuide> topLayoutGuide();
    // Around the view's layoutSubviews in a layout pass.
    virtual void viewWillLayoutSubviews() {}
    virtual void viewDidLayoutSubviews() {}

    virtual void viewWillAppear(bool animated);
    virtual void viewDidAppear(bool animated);
    virtual void viewWillDisappear(bool animated);
    virtual void viewDidDisappear(bool animated);
    void beginAppearanceTransition(bool isAppearing, bool animated);
    void endAppearanceTransition();
    // Between viewDidAppear and viewWillDisappear (or appearing now).
    bool _isAppearingOrVisible() const;

    // The view's traits while it is in a window, else the screen's with the current collection's.
    std::shared_ptr<UITraitCollection> traitCollection() const;
    // Called after the traits changed; overrides need not call this one.
    virtual void traitCollectionDidChange(const std::shared_ptr<UITraitCollection>& previous);
    // What the window calls: this controller, then its children and what it presents, hear
    // traitCollectionDidChange.
    void _propagateTraitCollectionChange(const std::shared_ptr<UITraitCollection>& previous);

    // --- Navigation -----------------------------------------------------------------------------
    const std::string& title() const { return m_title; }
    // Also the navigation item's title, as on the platform.
    virtual void setTitle(std::string title);
    // Made on first access.
    std::shared_ptr<UINavigationItem> navigationItem();
    // The nearest navigation controller among this controller and its ancestors' parents.
    std::shared_ptr<UINavigationController> navigationController() const;
    // NO (the default): under an opaque navigation bar the view starts below the bar. YES: it reaches
    // up under the bar, as it always does under a translucent one.
    bool extendedLayoutIncludesOpaqueBars() const { return m_extendedLayoutIncludesOpaqueBars; }
    void setExtendedLayoutIncludesOpaqueBars(bool extends);

    // --- Containment ----------------------------------------------------------------------------
    std::shared_ptr<UIViewController> parentViewController() const { return m_parent.lock(); }
    const std::vector<std::shared_ptr<UIViewController>>& childViewControllers() const { return m_children; }
    // Calls child->willMoveToParentViewController(this); the container calls didMove when done.
    void addChildViewController(const std::shared_ptr<UIViewController>& child);
    // Calls didMoveToParentViewController(nil); the container called willMove(nil) first.
    void removeFromParentViewController();
    virtual void willMoveToParentViewController(const std::shared_ptr<UIViewController>& parent);
    virtual void didMoveToParentViewController(const std::shared_ptr<UIViewController>& parent);

    // --- Presentation ---------------------------------------------------------------------------
    // Presents over this controller: the presented controller's view loads and appears (in this
    // controller's window when it has one). Presented controllers cover only part of the screen here
    // (sheets, alerts), so the presenter gets no disappearance callbacks. Presenting while this
    // controller already presents something logs a warning and does nothing, completion included;
    // so does presenting a controller that is already presented or this controller itself.
    void presentViewController(const std::shared_ptr<UIViewController>& controller, bool animated,
                               std::function<void()> completion);
    // Dismisses what this controller presents (with anything that presents in turn), or, when it
    // presents nothing, this controller from its presenter. Nothing to dismiss: nothing happens and
    // the completion does not run.
    void dismissViewControllerAnimated(bool animated, std::function<void()> completion);
    std::shared_ptr<UIViewController> presentedViewController() const { return m_presented; }
    std::shared_ptr<UIViewController> presentingViewController() const { return m_presenting.lock(); }

protected:
    // The children that appearance callbacks and trait changes are forwarded to: all of them unless
    // a container shows fewer (a navigation controller shows its top one).
    virtual std::vector<std::shared_ptr<UIViewController>> childViewControllersForAppearance() const;

private:
    enum class AppearState { Disappeared, Appearing, Appeared, Disappearing };

    void dismissPresented(bool animated);
    static void runCompletion(std::function<void()> completion, bool animated);

    std::shared_ptr<UIView> m_view;
    std::string m_title;
    std::shared_ptr<UINavigationItem> m_navigationItem;
    std::weak_ptr<UIViewController> m_parent;
    std::vector<std::shared_ptr<UIViewController>> m_children;
    std::shared_ptr<UIViewController> m_presented;
    std::weak_ptr<UIViewController> m_presenting;
    AppearState m_appearState = AppearState::Disappeared;
    bool m_transitionAnimated = false;
    bool m_loadingView = false;
    bool m_extendedLayoutIncludesOpaqueBars = false;
};

using UIViewControllerPtr = std::shared_ptr<UIViewController>;
