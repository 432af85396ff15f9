#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "uikit/UIAlertAction.h"
#include "uikit/UIViewController.h"

enum class UIAlertControllerStyle {
    ActionSheet = 0,
    Alert = 1,
};

// An alert or action sheet: a title, a message and its actions, presented by a view controller.
class UIAlertController : public UIViewController {
public:
    static std::shared_ptr<UIAlertController> alertControllerWithTitle(std::string title, std::string message,
                                                                       UIAlertControllerStyle style);
    UIAlertController() = default;

    const std::string& message() const { return m_message; }
    void setMessage(std::string message) { m_message = std::move(message); }
    UIAlertControllerStyle preferredStyle() const { return m_style; }

    // An action already added is not added twice.
    void addAction(const std::shared_ptr<UIAlertAction>& action);
    const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return m_actions; }
    std::shared_ptr<UIAlertAction> preferredAction() const { return m_preferredAction; }
    // Only one of this alert's own actions (or nil) is taken; anything else is ignored.
    void setPreferredAction(const std::shared_ptr<UIAlertAction>& action);

private:
    std::string m_message;
    std::vector<std::shared_ptr<UIAlertAction>> m_actions;
    std::shared_ptr<UIAlertAction> m_preferredAction;
    UIAlertControllerStyle m_style = UIAlertControllerStyle::Alert;
};

using UIAlertControllerPtr = std::shared_ptr<UIAlertController>;

namespace platform {

// What a user's tap on the alert's first enabled action with this title does: the alert is
// dismissed from its presenter (if presented), then the action's handler runs, as on the device,
// where the handler runs once the dismissal has begun. False when the alert has no such enabled
// action; nothing happens then.
bool tapAlertAction(const std::shared_ptr<UIAlertController>& alert, std::string_view title);

} // namespace platform
