#include "platform/uikit/UINavigationController.h"

#include <algorithm>

#include "platform/foundation/NSLog.h"

namespace {

[[maybe_unused]] const Class registeredNavigationController =
    platform::registerClass<UINavigationController, UIViewController>("UINavigationController");
[[maybe_unused]] const Class registeredNavigationBar =
    platform::registerClass<UINavigationBar, UIView>("UINavigationBar");

bool contains(const std::vector<std::shared_ptr<UIViewController>>& controllers,
              const std::shared_ptr<UIViewController>& controller) {
    return std::find(controllers.begin(), controllers.end(), controller) != controllers.end();
}

} // namespace

std::shared_ptr<UINavigationController>
UINavigationController::initWithRootViewController(const std::shared_ptr<UIViewController>& root) {
    auto navigation = std::make_shared<UINavigationController>();
    if (root)
        navigation->setViewControllers({root}, false);
    return navigation;
}

UINavigationController::UINavigationController() : m_navigationBar(std::make_shared<UINavigationBar>()) {
    m_navigationBar->_applyAppearance();
}

void UINavigationController::pushViewController(const std::shared_ptr<UIViewController>& controller,
                                                bool animated) {
    if (!controller)
        return;
    if (contains(m_stack, controller) || controller->parentViewController() ||
        controller->presentingViewController() || controller.get() == this) {
        NSLog("-[UINavigationController pushViewController:animated:]: %s is already shown elsewhere; not "
              "pushed",
              controller->description().c_str());
        return;
    }
    auto from = topViewController();
    addChildViewController(controller);
    m_stack.push_back(controller);
    transition(from, controller, animated);
    controller->didMoveToParentViewController(selfAs<UIViewController>());
}

std::shared_ptr<UIViewController> UINavigationController::popViewControllerAnimated(bool animated) {
    if (m_stack.size() < 2)
        return nullptr;
    auto from = m_stack.back();
    m_stack.pop_back();
    from->willMoveToParentViewController(nullptr);
    transition(from, m_stack.back(), animated);
    from->removeFromParentViewController();
    return from;
}

std::vector<std::shared_ptr<UIViewController>>
UINavigationController::popToRootViewControllerAnimated(bool animated) {
    if (m_stack.size() < 2)
        return {};
    std::vector<std::shared_ptr<UIViewController>> popped(m_stack.begin() + 1, m_stack.end());
    m_stack.resize(1);
    for (const auto& controller : popped)
        controller->willMoveToParentViewController(nullptr);
    transition(popped.back(), m_stack.front(), animated);
    for (const auto& controller : popped)
        controller->removeFromParentViewController();
    return popped;
}

void UINavigationController::setViewControllers(std::vector<std::shared_ptr<UIViewController>> controllers,
                                                bool animated) {
    std::vector<std::shared_ptr<UIViewController>> stack;
    for (auto& controller : controllers)
        if (controller && controller.get() != this && !contains(stack, controller))
            stack.push_back(std::move(controller));

    auto from = topViewController();
    auto previous = std::move(m_stack);
    std::vector<std::shared_ptr<UIViewController>> added;
    for (const auto& controller : previous)
        if (!contains(stack, controller))
            controller->willMoveToParentViewController(nullptr);
    for (const auto& controller : stack) {
        if (controller->parentViewController().get() != this) {
            addChildViewController(controller);
            added.push_back(controller);
        }
    }
    m_stack = std::move(stack);
    auto to = topViewController();
    if (from != to)
        transition(from, to, animated);
    for (const auto& controller : previous)
        if (!contains(m_stack, controller))
            controller->removeFromParentViewController();
    auto self = selfAs<UIViewController>();
    for (const auto& controller : added)
        controller->didMoveToParentViewController(self);
}

std::shared_ptr<UIViewController> UINavigationController::topViewController() const {
    return m_stack.empty() ? nullptr : m_stack.back();
}

void UINavigationController::setNavigationBarHidden(bool hidden, bool) {
    m_navigationBarHidden = hidden;
    m_navigationBar->setHidden(hidden);
    placeTopView();
}

// A navigation controller inside another (as Settings nests a pane's pages) sits under the outer
// bars as well: every shown bar up the chain covers the top of the page.
CGFloat UINavigationController::barsHeight() const {
    CGFloat height = kStatusBarHeight + (m_navigationBarHidden ? 0 : kNavigationBarHeight);
    for (auto outer = navigationController(); outer; outer = outer->navigationController())
        height += outer->isNavigationBarHidden() ? 0 : kNavigationBarHeight;
    return height;
}

// Any shown bar up the chain that is opaque: a page under it does not reach under the bars.
bool UINavigationController::showsOpaqueBar() const {
    if (!m_navigationBarHidden && !m_navigationBar->isTranslucent())
        return true;
    for (auto outer = navigationController(); outer; outer = outer->navigationController()) {
        if (!outer->isNavigationBarHidden() && !outer->navigationBar()->isTranslucent())
            return true;
    }
    return false;
}

void UINavigationController::viewWillLayoutSubviews() {
    UIViewController::viewWillLayoutSubviews();
    placeTopView();
}

void UINavigationController::viewDidLoad() {
    UIViewController::viewDidLoad();
    m_navigationBar->setFrame(
        CGRectMake(0, kStatusBarHeight, view()->bounds().size.width, kNavigationBarHeight));
    m_navigationBar->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    view()->addSubview(m_navigationBar);
    showTopView();
}

std::vector<std::shared_ptr<UIViewController>>
UINavigationController::childViewControllersForAppearance() const {
    if (auto top = topViewController())
        return {top};
    return {};
}

void UINavigationController::transition(const std::shared_ptr<UIViewController>& from,
                                        const std::shared_ptr<UIViewController>& to, bool animated) {
    bool visible = _isAppearingOrVisible();
    if (visible && to)
        to->view();
    if (visible && from)
        from->beginAppearanceTransition(false, animated);
    if (visible && to)
        to->beginAppearanceTransition(true, animated);
    if (isViewLoaded()) {
        if (auto leaving = from ? from->viewIfLoaded() : nullptr;
            leaving && leaving->superview() == viewIfLoaded())
            leaving->removeFromSuperview();
        showTopView();
    }
    if (visible && from)
        from->endAppearanceTransition();
    if (visible && to)
        to->endAppearanceTransition();
}

void UINavigationController::showTopView() {
    auto top = topViewController();
    auto container = viewIfLoaded();
    if (!top || !container)
        return;
    auto page = top->view();
    if (page && page->superview() != container) {
        page->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        container->insertSubview(page, 0);
        placeTopView();
    }
}

// The top page's view sits under the navigation bar, filling the container with the bars covering
// the top of its safe area, or below the bars when they are opaque and it does not extend under
// them. A navigation controller nested in this one always fills it: it places its own pages.
void UINavigationController::placeTopView() {
    auto top = topViewController();
    auto container = viewIfLoaded();
    auto page = top ? top->viewIfLoaded() : nullptr;
    if (!container || !page || page->superview() != container)
        return;
    auto nested = std::dynamic_pointer_cast<UINavigationController>(top);
    CGRect frame = container->bounds();
    CGFloat covered = barsHeight();
    if (!nested && showsOpaqueBar() && !top->extendedLayoutIncludesOpaqueBars()) {
        frame.origin.y += covered;
        frame.size.height = std::max<CGFloat>(0, frame.size.height - covered);
        covered = 0;
    }
    if (page->frame() != frame)
        page->setFrame(frame);
    page->_setSafeAreaInsets(UIEdgeInsetsMake(covered, 0, 0, 0));
    if (nested)
        page->setNeedsLayout();
}
