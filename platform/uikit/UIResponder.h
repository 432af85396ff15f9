#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/NSObject.h"

class UIEvent;
class UITouch;

using UITouchSet = std::vector<std::shared_ptr<UITouch>>;

// The common base of views, view controllers and the application, as on the platform. A touch
// that a responder does not handle goes on to its next responder; only responders in a window can
// become the window's first responder (the one that typed text goes to).
class UIResponder : public NSObject {
public:
    static constexpr platform::RegisteredName<UIResponder> registeredName{"UIResponder"};
    UIResponder() = default;

    // Views answer their controller or superview, controllers their view's superview.
    virtual std::shared_ptr<UIResponder> nextResponder() const { return nullptr; }

    // The defaults pass the touches on to the next responder.
    virtual void touchesBegan(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event);
    virtual void touchesMoved(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event);
    virtual void touchesEnded(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event);
    virtual void touchesCancelled(const UITouchSet& touches, const std::shared_ptr<UIEvent>& event);

    virtual bool canBecomeFirstResponder() const { return false; }
    // False for a responder that cannot become first responder or is not in a window.
    virtual bool becomeFirstResponder() { return false; }
    virtual bool resignFirstResponder() { return true; }
    virtual bool isFirstResponder() const { return false; }
};
