#include "platform/uikit/UIWindow.h"

#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/ResolvingTraits.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITouch.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIViewController.h"

namespace {

[[maybe_unused]] const Class registeredWindow = platform::registerClass<UIWindow, UIView>("UIWindow");

std::shared_ptr<UITraitCollection> withDeviceSizeClass(const std::shared_ptr<UITraitCollection>& traits) {
    if (traits && traits->horizontalSizeClass() != UIUserInterfaceSizeClass::Unspecified)
        return traits;
    auto sizeClass =
        platform::SimulatedDevice::horizontalSizeClass() == platform::SimulatedDevice::SizeClass::Regular
            ? UIUserInterfaceSizeClass::Regular
            : UIUserInterfaceSizeClass::Compact;
    return UITraitCollection::traitCollectionWithTraitsFromCollections(
        {UITraitCollection::traitCollectionWithHorizontalSizeClass(sizeClass), traits});
}

} // namespace

UIWindow::UIWindow() {
    UIView::setHidden(true);
    setFrame(UIScreen::mainScreen()->bounds());
}

void UIWindow::setRootViewController(const std::shared_ptr<UIViewController>& controller) {
    if (controller == m_rootViewController)
        return;
    auto previous = m_rootViewController;
    bool visible = !isHidden();
    if (visible && previous)
        previous->beginAppearanceTransition(false, false);
    if (visible && controller)
        controller->beginAppearanceTransition(true, false);

    if (previous && previous->isViewLoaded() && previous->viewIfLoaded()->superview().get() == this)
        previous->viewIfLoaded()->removeFromSuperview();
    m_rootViewController = controller;
    if (controller) {
        // The root view fills the window and follows its size, as on the platform.
        auto view = controller->view();
        view->setFrame(bounds());
        view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        insertSubview(view, 0);
    }

    if (visible && previous)
        previous->endAppearanceTransition();
    if (visible && controller)
        controller->endAppearanceTransition();
}

void UIWindow::makeKeyAndVisible() {
    setHidden(false);
    if (auto self = selfAs<UIWindow>())
        UIApplication::sharedApplication()->_windowDidBecomeKey(self);
    layoutIfNeeded();
}

bool UIWindow::isKeyWindow() const {
    return UIApplication::sharedApplication()->keyWindow().get() == this;
}

void UIWindow::setHidden(bool hidden) {
    if (hidden == isHidden())
        return;
    UIView::setHidden(hidden);
    auto application = UIApplication::sharedApplication();
    if (!hidden) {
        if (auto self = selfAs<UIWindow>())
            application->_windowDidBecomeVisible(self);
    }
    if (m_rootViewController) {
        m_rootViewController->beginAppearanceTransition(!hidden, false);
        m_rootViewController->endAppearanceTransition();
    }
    if (hidden)
        application->_windowDidHide(*this);
}

std::shared_ptr<UITraitCollection> UIWindow::traitCollection() const {
    return withDeviceSizeClass(m_traitCollection ? platform::completedTraitCollection(m_traitCollection)
                                                 : platform::resolvingTraitCollection());
}

void UIWindow::_setTraitCollection(const std::shared_ptr<UITraitCollection>& traits) {
    auto previous = traitCollection();
    m_traitCollection = traits;
    auto current = traitCollection();
    if (previous == current || (previous && current && previous->isEqual(*current)))
        return;
    propagateTraitChange(previous);
    if (m_rootViewController)
        m_rootViewController->_propagateTraitCollectionChange(previous);
}

void UIWindow::sendEvent(const std::shared_ptr<UIEvent>& event) {
    if (!event)
        return;
    for (const auto& touch : event->allTouches()) {
        auto view = touch ? touch->view() : nullptr;
        if (!view)
            continue;
        UITouchSet touches{touch};
        switch (touch->phase()) {
        case UITouchPhase::Began:
            view->touchesBegan(touches, event);
            break;
        case UITouchPhase::Moved:
        case UITouchPhase::Stationary:
            view->touchesMoved(touches, event);
            break;
        case UITouchPhase::Ended:
            view->touchesEnded(touches, event);
            break;
        case UITouchPhase::Cancelled:
            view->touchesCancelled(touches, event);
            break;
        }
    }
}
