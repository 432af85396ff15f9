#pragma once

#include <memory>
#include <vector>

#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UIViewController.h"

// A stack of pages; the top one is a child whose view fills this controller's view. While the
// navigation controller is visible, pushes and pops send the appearance callbacks in the platform's
// order: the leaving page's viewWillDisappear, the arriving page's viewWillAppear (its view loads
// first, so viewDidLoad comes before both), the view swap, then the leaving page's
// viewDidDisappear and the arriving page's viewDidAppear. Pages pushed while the navigation
// controller is not visible get their callbacks when it appears.
//
// Geometry: the bar sits under a 20-point status bar, 44 points high across the view. A page's view
// fills the container and its safe area starts below the bars (the status bar alone when the bar is
// hidden), which is what its top layout guide and scroll views' adjusted insets follow; but when a
// shown bar is opaque (not translucent) and the page does not extend its layout under opaque bars,
// its view starts below the bars instead, with no safe area inset at the top.
class UINavigationController : public UIViewController {
public:
    static constexpr CGFloat kStatusBarHeight = 20;
    static constexpr CGFloat kNavigationBarHeight = 44;

    static std::shared_ptr<UINavigationController>
    initWithRootViewController(const std::shared_ptr<UIViewController>& root);
    UINavigationController();

    // Pushing a controller that is already on the stack or has another parent is refused (logged).
    void pushViewController(const std::shared_ptr<UIViewController>& controller, bool animated);
    // The page that was popped; nil when only the root is left.
    std::shared_ptr<UIViewController> popViewControllerAnimated(bool animated);
    // The popped pages, bottom first; empty when the root is on top.
    std::vector<std::shared_ptr<UIViewController>> popToRootViewControllerAnimated(bool animated);
    const std::vector<std::shared_ptr<UIViewController>>& viewControllers() const { return m_stack; }
    // Replaces the whole stack (the new top appears, the old top disappears when they differ).
    void setViewControllers(std::vector<std::shared_ptr<UIViewController>> controllers, bool animated);
    std::shared_ptr<UIViewController> topViewController() const;
    const std::shared_ptr<UINavigationBar>& navigationBar() const { return m_navigationBar; }
    bool isNavigationBarHidden() const { return m_navigationBarHidden; }
    void setNavigationBarHidden(bool hidden, bool animated = false);

    void viewDidLoad() override;
    void viewWillLayoutSubviews() override;

protected:
    std::vector<std::shared_ptr<UIViewController>> childViewControllersForAppearance() const override;

private:
    void transition(const std::shared_ptr<UIViewController>& from,
                    const std::shared_ptr<UIViewController>& to, bool animated);
    void showTopView();
    void placeTopView();
    CGFloat barsHeight() const;
    bool showsOpaqueBar() const;

    std::vector<std::shared_ptr<UIViewController>> m_stack;
    std::shared_ptr<UINavigationBar> m_navigationBar;
    bool m_navigationBarHidden = false;
};

using UINavigationControllerPtr = std::shared_ptr<UINavigationController>;
