#include "uikit/UIAlertController.h"

#include <algorithm>

#include "foundation/NSLog.h"

namespace {

[[maybe_unused]] const Class registeredAlertController =
    platform::registerClass<UIAlertController>("UIAlertController", "UIViewController");

} // namespace

std::shared_ptr<UIAlertController> UIAlertController::alertControllerWithTitle(std::string title,
                                                                               std::string message,
                                                                               UIAlertControllerStyle style) {
    auto alert = std::make_shared<UIAlertController>();
    alert->setTitle(std::move(title));
    alert->m_message = std::move(message);
    alert->m_style = style;
    return alert;
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
