#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/uikit/UIView.h"

class UITouch;

using UIControlEvents = std::uint32_t;
enum : UIControlEvents {
    UIControlEventTouchDown = 1u << 0,
    UIControlEventTouchDragInside = 1u << 2,
    UIControlEventTouchDragOutside = 1u << 3,
    UIControlEventTouchUpInside = 1u << 6,
    UIControlEventTouchUpOutside = 1u << 7,
    UIControlEventTouchCancel = 1u << 8,
    UIControlEventValueChanged = 1u << 12,
    UIControlEventPrimaryActionTriggered = 1u << 13,
    UIControlEventEditingDidBegin = 1u << 16,
    UIControlEventEditingChanged = 1u << 17,
    UIControlEventEditingDidEnd = 1u << 18,
    UIControlEventEditingDidEndOnExit = 1u << 19,
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
//
// Touches are tracked as on the platform: a touch down highlights the control, asks
// beginTrackingWithTouch and sends TouchDown; moves follow with continueTrackingWithTouch (the
// highlight shows whether the finger is still inside) and the lift ends tracking and sends
// TouchUpInside or TouchUpOutside. A disabled control tracks nothing: its touches go on to the
// next responder. Subclasses change their value in the tracking calls and send ValueChanged.
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
    virtual void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isSelected() const { return m_selected; }
    bool isHighlighted() const { return m_highlighted; }
    UIControlState state() const;

    // --- Tracking -------------------------------------------------------------------------------
    // Whether to go on tracking the touch; true by default.
    virtual bool beginTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event);
    virtual bool continueTrackingWithTouch(const std::shared_ptr<UITouch>& touch,
                                           const std::shared_ptr<UIEvent>& event);
    virtual void endTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event);
    virtual void cancelTrackingWithEvent(const std::shared_ptr<UIEvent>& event);
    bool isTracking() const { return m_tracking; }
    // Whether the tracked touch is inside the bounds.
    bool isTouchInside() const { return m_touchInside; }

    void touchesBegan(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesMoved(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesEnded(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) override;
    void touchesCancelled(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event) override;

private:
    bool touchIsInside(const std::shared_ptr<UITouch>& touch) const;

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
    bool m_tracking = false;
    bool m_touchInside = false;
    // Whether this control took the touch now under way (a disabled one passes it on).
    bool m_ownsTouch = false;
};
