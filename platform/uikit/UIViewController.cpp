#include "platform/uikit/UIViewController.h"

#include <algorithm>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSLog.h"
#include "platform/uikit/ResolvingTraits.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

namespace {

[[maybe_unused]] const Class registeredViewController =
    platform::registerClass<UIViewController, UIResponder>();

} // namespace

UIViewController::~UIViewController() = default;

// --- The view -------------------------------------------------------------------------------------

std::shared_ptr<UIView> UIViewController::view() {
    // A loadView that asks for the view gets what is there so far instead of recursing.
    if (m_view || m_loadingView)
        return m_view;
    m_loadingView = true;
    loadView();
    if (!m_view)
        setView(std::make_shared<UIView>());
    m_loadingView = false;
    viewDidLoad();
    return m_view;
}

void UIViewController::setView(const std::shared_ptr<UIView>& view) {
    if (m_view && m_view->_viewDelegate().get() == this)
        m_view->_setViewDelegate(nullptr);
    m_view = view;
    if (m_view)
        m_view->_setViewDelegate(selfAs<UIViewController>());
}

void UIViewController::loadView() {
    setView(std::make_shared<UIView>());
}

void UIViewController::viewWillAppear(bool) {}
void UIViewController::viewDidAppear(bool) {}
void UIViewController::viewWillDisappear(bool) {}
void UIViewController::viewDidDisappear(bool) {}

void UIViewController::beginAppearanceTransition(bool isAppearing, bool animated) {
    if (isAppearing == _isAppearingOrVisible())
        return;
    m_transitionAnimated = animated;
    if (isAppearing) {
        view();
        m_appearState = AppearState::Appearing;
        viewWillAppear(animated);
    } else {
        m_appearState = AppearState::Disappearing;
        viewWillDisappear(animated);
    }
    for (const auto& child : childViewControllersForAppearance())
        child->beginAppearanceTransition(isAppearing, animated);
}

void UIViewController::endAppearanceTransition() {
    if (m_appearState == AppearState::Appearing) {
        m_appearState = AppearState::Appeared;
        viewDidAppear(m_transitionAnimated);
    } else if (m_appearState == AppearState::Disappearing) {
        m_appearState = AppearState::Disappeared;
        viewDidDisappear(m_transitionAnimated);
    } else {
        return;
    }
    for (const auto& child : childViewControllersForAppearance())
        child->endAppearanceTransition();
}

bool UIViewController::_isAppearingOrVisible() const {
    return m_appearState == AppearState::Appearing || m_appearState == AppearState::Appeared;
}

std::vector<std::shared_ptr<UIViewController>> UIViewController::childViewControllersForAppearance() const {
    return m_children;
}

// A view that is not in a window yet (a page loading before it is shown) takes the screen's traits, as
// the page will once it is on screen; the window's traits win from then on.
std::shared_ptr<UITraitCollection> UIViewController::traitCollection() const {
    if (m_view && m_view->window())
        return m_view->traitCollection();
    return platform::completedTraitCollection(UITraitCollection::traitCollectionWithTraitsFromCollections(
        {UIScreen::mainScreen()->traitCollection(), UITraitCollection::currentTraitCollection()}));
}

void UIViewController::traitCollectionDidChange(const std::shared_ptr<UITraitCollection>&) {}

void UIViewController::_propagateTraitCollectionChange(const std::shared_ptr<UITraitCollection>& previous) {
    traitCollectionDidChange(previous);
    for (auto children = m_children; const auto& child : children)
        child->_propagateTraitCollectionChange(previous);
    if (auto presented = m_presented)
        presented->_propagateTraitCollectionChange(previous);
}

// --- Navigation -----------------------------------------------------------------------------------

void UIViewController::setTitle(std::string title) {
    m_title = std::move(title);
    navigationItem()->setTitle(m_title);
}

std::shared_ptr<UINavigationItem> UIViewController::navigationItem() {
    if (!m_navigationItem) {
        m_navigationItem = std::make_shared<UINavigationItem>();
        m_navigationItem->setTitle(m_title);
    }
    return m_navigationItem;
}

std::shared_ptr<UINavigationController> UIViewController::navigationController() const {
    for (auto ancestor = parentViewController(); ancestor; ancestor = ancestor->parentViewController())
        if (auto navigation = std::dynamic_pointer_cast<UINavigationController>(ancestor))
            return navigation;
    return nullptr;
}

// --- Containment ----------------------------------------------------------------------------------

void UIViewController::addChildViewController(const std::shared_ptr<UIViewController>& child) {
    auto self = selfAs<UIViewController>();
    if (!child || !self || child == self || child->parentViewController() == self)
        return;
    if (child->parentViewController())
        child->removeFromParentViewController();
    child->willMoveToParentViewController(self);
    m_children.push_back(child);
    child->m_parent = self;
}

void UIViewController::removeFromParentViewController() {
    auto parent = parentViewController();
    if (!parent)
        return;
    auto self = selfAs<UIViewController>();
    auto& siblings = parent->m_children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    m_parent.reset();
    didMoveToParentViewController(nullptr);
}

void UIViewController::willMoveToParentViewController(const std::shared_ptr<UIViewController>&) {}
void UIViewController::didMoveToParentViewController(const std::shared_ptr<UIViewController>&) {}

// --- Presentation ---------------------------------------------------------------------------------

void UIViewController::presentViewController(const std::shared_ptr<UIViewController>& controller,
                                             bool animated, std::function<void()> completion) {
    auto self = selfAs<UIViewController>();
    if (!controller || !self)
        return;
    if (m_presented) {
        NSLog("Warning: Attempt to present %s on %s which is already presenting %s",
              controller->description().c_str(), description().c_str(), m_presented->description().c_str());
        return;
    }
    if (controller == self || controller->presentingViewController() || controller->parentViewController()) {
        NSLog("Application tried to present modally a view controller %s that is already shown by %s",
              controller->description().c_str(), description().c_str());
        return;
    }
    m_presented = controller;
    controller->m_presenting = self;
    controller->beginAppearanceTransition(true, animated);
    if (auto window = m_view ? m_view->window() : nullptr)
        window->addSubview(controller->view());
    controller->endAppearanceTransition();
    runCompletion(std::move(completion), animated);
}

void UIViewController::dismissViewControllerAnimated(bool animated, std::function<void()> completion) {
    auto presenter = m_presented ? selfAs<UIViewController>() : presentingViewController();
    if (!presenter || !presenter->m_presented)
        return;
    presenter->dismissPresented(animated);
    runCompletion(std::move(completion), animated);
}

void UIViewController::dismissPresented(bool animated) {
    auto presented = m_presented;
    if (!presented)
        return;
    // Whatever the presented controller presents goes first, innermost first.
    presented->dismissPresented(animated);
    presented->beginAppearanceTransition(false, animated);
    if (auto view = presented->viewIfLoaded(); view && std::dynamic_pointer_cast<UIWindow>(view->superview()))
        view->removeFromSuperview();
    m_presented.reset();
    presented->m_presenting.reset();
    presented->endAppearanceTransition();
}

void UIViewController::runCompletion(std::function<void()> completion, bool animated) {
    if (!completion)
        return;
    if (animated)
        dispatch_async(dispatch_get_main_queue(), std::move(completion));
    else
        completion();
}

void UIViewController::setExtendedLayoutIncludesOpaqueBars(bool extends) {
    if (extends == m_extendedLayoutIncludesOpaqueBars)
        return;
    m_extendedLayoutIncludesOpaqueBars = extends;
    // The container places the view; its next layout pass moves it.
    if (auto parent = parentViewController(); parent && parent->isViewLoaded())
        parent->viewIfLoaded()->setNeedsLayout();
}

std::shared_ptr<UILayoutGuide> UIViewController::topLayoutGuide() {
    return view()->_ownedLayoutGuide(static_cast<int>(UILayoutGuide::Kind::TopLayout),
                                     "UIViewControllerTopLayoutGuide");
}

std::shared_ptr<UIResponder> UIViewController::nextResponder() const {
    return m_view ? m_view->superview() : nullptr;
}
