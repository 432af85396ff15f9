#include "platform/uikit/UIControl.h"

#include <algorithm>

#include "platform/uikit/UITouch.h"

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

// --- Tracking -----------------------------------------------------------------------------------

bool UIControl::beginTrackingWithTouch(const std::shared_ptr<UITouch>&, const std::shared_ptr<UIEvent>&) {
    return true;
}

bool UIControl::continueTrackingWithTouch(const std::shared_ptr<UITouch>&, const std::shared_ptr<UIEvent>&) {
    return true;
}

void UIControl::endTrackingWithTouch(const std::shared_ptr<UITouch>&, const std::shared_ptr<UIEvent>&) {}

void UIControl::cancelTrackingWithEvent(const std::shared_ptr<UIEvent>&) {}

bool UIControl::touchIsInside(const std::shared_ptr<UITouch>& touch) const {
    auto self = selfAs<UIView>();
    return touch && self && CGRectContainsPoint(bounds(), touch->locationInView(std::const_pointer_cast<UIView>(self)));
}

void UIControl::touchesBegan(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) {
    m_ownsTouch = m_enabled && !touches.empty();
    if (!m_ownsTouch) {
        UIView::touchesBegan(touches, event);
        return;
    }
    const auto& touch = touches.front();
    m_touchInside = touchIsInside(touch);
    m_highlighted = true;
    m_tracking = beginTrackingWithTouch(touch, event);
    sendActionsForControlEvents(UIControlEventTouchDown);
}

void UIControl::touchesMoved(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) {
    if (!m_ownsTouch) {
        UIView::touchesMoved(touches, event);
        return;
    }
    if (touches.empty())
        return;
    const auto& touch = touches.front();
    m_touchInside = touchIsInside(touch);
    m_highlighted = m_touchInside;
    if (m_tracking)
        m_tracking = continueTrackingWithTouch(touch, event);
    sendActionsForControlEvents(m_touchInside ? UIControlEventTouchDragInside : UIControlEventTouchDragOutside);
}

void UIControl::touchesEnded(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) {
    if (!m_ownsTouch) {
        UIView::touchesEnded(touches, event);
        return;
    }
    m_ownsTouch = false;
    if (touches.empty())
        return;
    const auto& touch = touches.front();
    m_touchInside = touchIsInside(touch);
    m_highlighted = false;
    if (m_tracking)
        endTrackingWithTouch(touch, event);
    m_tracking = false;
    sendActionsForControlEvents(m_touchInside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside);
}

void UIControl::touchesCancelled(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) {
    if (!m_ownsTouch) {
        UIView::touchesCancelled(touches, event);
        return;
    }
    m_ownsTouch = false;
    m_highlighted = false;
    if (m_tracking)
        cancelTrackingWithEvent(event);
    m_tracking = false;
    sendActionsForControlEvents(UIControlEventTouchCancel);
}
