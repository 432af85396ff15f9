#include "platform/uikit/TouchScreen.h"

#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UITouch.h"
#include "platform/uikit/UIWindow.h"

namespace platform {

namespace {

void deliver(UIWindow& window, const std::shared_ptr<UITouch>& touch) {
    window.sendEvent(std::make_shared<UIEvent>(UITouchSet{touch}));
}

} // namespace

std::shared_ptr<UIView> TouchScreen::tap(UIWindow& window, CGPoint point) {
    return drag(window, point, point);
}

std::shared_ptr<UIView> TouchScreen::drag(UIWindow& window, CGPoint from, CGPoint to) {
    auto self = window.selfAs<UIWindow>();
    if (!self)
        return nullptr;
    window.layoutIfNeeded();
    auto hit = window.hitTest(from, nullptr);
    if (!hit)
        return nullptr;
    auto touch = std::make_shared<UITouch>(self, hit, from);
    deliver(window, touch);
    if (to.x != from.x || to.y != from.y) {
        touch->_moveTo(to, UITouchPhase::Moved);
        deliver(window, touch);
    }
    touch->_moveTo(to, UITouchPhase::Ended);
    deliver(window, touch);
    return hit;
}

} // namespace platform
