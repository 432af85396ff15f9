#include "platform/uikit/UIAlertController.h"

#include <algorithm>

#include "platform/foundation/NSLog.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

namespace {

[[maybe_unused]] const Class registeredAlertController =
    platform::registerClass<UIAlertController, UIViewController>();

bool usesDynamicColors() {
    return platform::compareVersions(platform::SimulatedDevice::osVersion(), {13, 0, 0}) >= 0;
}

std::shared_ptr<UITraitCollection> keyWindowTraits() {
    if (auto window = UIApplication::sharedApplication()->keyWindow())
        return window->traitCollection();
    return UITraitCollection::currentTraitCollection();
}

} // namespace

std::shared_ptr<UIAlertController> UIAlertController::alertControllerWithTitle(std::string title,
                                                                               std::string message,
                                                                               UIAlertControllerStyle style) {
    auto alert = std::make_shared<UIAlertController>();
    alert->_initWithTitle(std::move(title), std::move(message), style);
    return alert;
}

void UIAlertController::_initWithTitle(std::string title, std::string message, UIAlertControllerStyle style) {
    setTitle(std::move(title));
    m_message = std::move(message);
    m_style = style;
}

void UIAlertController::addAction(const std::shared_ptr<UIAlertAction>& action) {
    if (action && std::find(m_actions.begin(), m_actions.end(), action) == m_actions.end())
        m_actions.push_back(action);
}

void UIAlertController::setPreferredAction(const std::shared_ptr<UIAlertAction>& action) {
    if (action && std::find(m_actions.begin(), m_actions.end(), action) == m_actions.end()) {
        NSLog("-[UIAlertController setPreferredAction:]: the preferred action must be one of the alert's "
              "actions; ignored");
        return;
    }
    m_preferredAction = action;
}

std::shared_ptr<UIAlertControllerVisualStyle> UIAlertController::_visualStyle() const {
    return visualStyleForAlertControllerStyle(m_style, keyWindowTraits(), _currentDescriptor());
}

std::shared_ptr<UIAlertControllerVisualStyle> UIAlertController::visualStyleForAlertControllerStyle(
    UIAlertControllerStyle, std::shared_ptr<UITraitCollection> traits,
    std::shared_ptr<UIAlertControllerDescriptor> descriptor) const {
    auto style = std::make_shared<UIAlertControllerVisualStyle>(std::move(traits), usesDynamicColors());
    style->setDescriptor(std::move(descriptor));
    return style;
}

std::shared_ptr<UIAlertControllerDescriptor> UIAlertController::_currentDescriptor() const {
    return std::make_shared<UIAlertControllerDescriptor>(m_style, m_headerContent != nullptr);
}

void UIAlertController::_setAttributedMessage(std::shared_ptr<NSAttributedString> message) {
    if (message)
        m_message = message->string();
    m_attributedMessage = std::move(message);
}

void UIAlertController::_setHeaderContentViewController(std::shared_ptr<UIViewController> controller) {
    if (controller == m_headerContent)
        return;
    if (m_headerContent) {
        m_headerContent->willMoveToParentViewController(nullptr);
        if (auto view = m_headerContent->viewIfLoaded())
            view->removeFromSuperview();
        m_headerContent->removeFromParentViewController();
    }
    m_headerContent = std::move(controller);
    if (!m_headerContent)
        return;
    addChildViewController(m_headerContent);
    if (isViewLoaded())
        installHeaderContentView();
    m_headerContent->didMoveToParentViewController(selfAs<UIViewController>());
}

void UIAlertController::viewDidLoad() {
    UIViewController::viewDidLoad();
    auto card = view();
    card->setTranslatesAutoresizingMaskIntoConstraints(false);
    // Without a header the card's top part has no height; a header's constraints outrank this.
    auto collapsed = card->heightAnchor()->constraintEqualToConstant(0);
    collapsed->setPriority(UILayoutPriorityDefaultLow);
    NSLayoutConstraint::activateConstraints(
        {card->widthAnchor()->constraintEqualToConstant(cardWidth), collapsed});
    if (m_headerContent)
        installHeaderContentView();
}

void UIAlertController::installHeaderContentView() {
    auto card = view();
    auto header = m_headerContent->view();
    header->setTranslatesAutoresizingMaskIntoConstraints(false);
    card->addSubview(header);
    NSLayoutConstraint::activateConstraints({
        header->topAnchor()->constraintEqualToAnchor(card->topAnchor()),
        header->leftAnchor()->constraintEqualToAnchor(card->leftAnchor()),
        header->rightAnchor()->constraintEqualToAnchor(card->rightAnchor()),
        header->bottomAnchor()->constraintEqualToAnchor(card->bottomAnchor()),
    });
}

void UIAlertController::viewDidAppear(bool animated) {
    UIViewController::viewDidAppear(animated);
    placeCardInSuperview();
}

void UIAlertController::placeCardInSuperview() {
    auto card = viewIfLoaded();
    auto container = card ? card->superview() : nullptr;
    if (!container || (!m_cardConstraints.empty() && m_cardConstraints.front()->isActive()))
        return;
    // The header sits above the screen's centre line; the texts and buttons go below it.
    m_cardConstraints = {
        card->centerXAnchor()->constraintEqualToAnchor(container->centerXAnchor()),
        card->bottomAnchor()->constraintEqualToAnchor(container->centerYAnchor()),
    };
    NSLayoutConstraint::activateConstraints(m_cardConstraints);
    container->layoutIfNeeded();
}

namespace platform {

bool tapAlertAction(const std::shared_ptr<UIAlertController>& alert, std::string_view title) {
    if (!alert)
        return false;
    const auto& actions = alert->actions();
    auto found = std::find_if(actions.begin(), actions.end(), [title](const auto& action) {
        return action->isEnabled() && action->title() == title;
    });
    if (found == actions.end())
        return false;
    auto action = *found;
    if (auto presenter = alert->presentingViewController())
        presenter->dismissViewControllerAnimated(true, nullptr);
    if (const auto& handler = action->handler())
        handler(action);
    return true;
}

} // namespace platform
