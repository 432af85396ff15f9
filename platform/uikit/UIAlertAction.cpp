#include "platform/uikit/UIAlertAction.h"

namespace {

[[maybe_unused]] const Class registeredAlertAction = platform::registerClass<UIAlertAction>("UIAlertAction");

} // namespace

std::shared_ptr<UIAlertAction> UIAlertAction::actionWithTitle(std::string title, UIAlertActionStyle style,
                                                              Handler handler) {
    auto action = std::make_shared<UIAlertAction>();
    action->m_title = std::move(title);
    action->m_style = style;
    action->m_handler = std::move(handler);
    return action;
}
