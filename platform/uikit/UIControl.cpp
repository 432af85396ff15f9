#include "platform/uikit/UIControl.h"

#include <algorithm>

namespace {

[[maybe_unused]] const Class registeredControl = platform::registerClass<UIControl, UIView>();

} // namespace

void UIControl::addTarget(const id& target, std::string action, UIControlEvents events) {
    if (!target || action.empty() || events == 0)
        return;
    for (auto& entry : m_targetActions) {
        if (entry.target.lock() == target && entry.action == action) {
            entry.events |= events;
            return;
        }
    }
    m_targetActions.push_back({target, std::move(action), events});
}

void UIControl::addAction(Handler handler, UIControlEvents events) {
    if (handler && events != 0)
        m_handlers.push_back({std::move(handler), events});
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
    auto self = selfAs<UIControl>();
    if (!self)
        return;
    // Copied first: an action may add or remove targets while they are being sent.
    auto targetActions = m_targetActions;
    auto handlers = m_handlers;
    for (const auto& entry : targetActions)
        if (entry.events & events)
            if (auto target = entry.target.lock())
                objc_msgSend(target, entry.action, {self});
    for (const auto& entry : handlers)
        if (entry.events & events)
            entry.handler(self);
}

UIControlState UIControl::state() const {
    UIControlState state = UIControlStateNormal;
    if (m_highlighted)
        state |= UIControlStateHighlighted;
    if (!m_enabled)
        state |= UIControlStateDisabled;
    if (m_selected)
        state |= UIControlStateSelected;
    return state;
}
