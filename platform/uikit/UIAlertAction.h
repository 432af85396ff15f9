#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/runtime/NSObject.h"

enum class UIAlertActionStyle {
    Default = 0,
    Cancel = 1,
    Destructive = 2,
};

// One button of an alert. The handler (which may be empty) runs when the user picks the action.
class UIAlertAction : public NSObject {
public:
    using Handler = std::function<void(std::shared_ptr<UIAlertAction>)>;

    static std::shared_ptr<UIAlertAction> actionWithTitle(std::string title, UIAlertActionStyle style,
                                                          Handler handler);
    UIAlertAction() = default;

    const std::string& title() const { return m_title; }
    UIAlertActionStyle style() const { return m_style; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    const Handler& handler() const { return m_handler; }

private:
    std::string m_title;
    Handler m_handler;
    UIAlertActionStyle m_style = UIAlertActionStyle::Default;
    bool m_enabled = true;
};

using UIAlertActionPtr = std::shared_ptr<UIAlertAction>;
