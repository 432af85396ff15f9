#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/uikit/UIView.h"

using UIControlEvents = std::uint32_t;
enum : UIControlEvents {
    UIControlEventTouchDown = 1u << 0,
    UIControlEventTouchUpInside = 1u << 6,
    UIControlEventValueChanged = 1u << 12,
    UIControlEventPrimaryActionTriggered = 1u << 13,
    UIControlEventEditingDidBegin = 1u << 16,
    UIControlEventEditingChanged = 1u << 17,
    UIControlEventEditingDidEnd = 1u << 18,
    UIControlEventAllEvents = 0xFFFFFFFFu,
};

using UIControlState = std::uint32_t;
enum : UIControlState {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1u << 0,
    UIControlStateDisabled = 1u << 1,
    UIControlStateSelected = 1u << 2,
};

// A view that sends actions: target-action pairs keyed by full selector strings ("buttonTapped:"),
// sent through the runtime with the control as the one argument, and C++ handlers for code that
// has no runtime class. Targets are held weakly, as on the platform.
class UIControl : public UIView {
public:
    static constexpr platform::RegisteredName<UIControl> registeredName{"UIControl"};
    using Handler = std::function<void(const std::shared_ptr<UIControl>& sender)>;

    UIControl() = default;

    // A nil target or an empty action is ignored (the responder chain is not modelled).
    void addTarget(const id& target, std::string action, UIControlEvents events);
    void addAction(Handler handler, UIControlEvents events);
    // The actions, then the handlers, for every event in the mask, in the order they were added. A
    // target that went away is skipped.
    void sendActionsForControlEvents(UIControlEvents events);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isSelected() const { return m_selected; }
    UIControlState state() const;

private:
    struct TargetAction {
        std::weak_ptr<NSObject> target;
        std::string action;
        UIControlEvents events;
    };
    struct HandlerEntry {
        Handler handler;
        UIControlEvents events;
    };

    std::vector<TargetAction> m_targetActions;
    std::vector<HandlerEntry> m_handlers;
    bool m_enabled = true;
    bool m_selected = false;
    bool m_highlighted = false;
};
