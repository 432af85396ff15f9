#include "platform/uikit/UITouch.h"

#include "platform/uikit/UIWindow.h"

namespace {

[[maybe_unused]] const Class registeredTouch = platform::registerClass<UITouch>("UITouch");

} // namespace

UITouch::UITouch(const std::shared_ptr<UIWindow>& window, const std::shared_ptr<UIView>& view,
                 CGPoint pointInWindow)
    : m_window(window), m_view(view), m_location(pointInWindow), m_previousLocation(pointInWindow) {}

CGPoint UITouch::locationInView(const std::shared_ptr<UIView>& view) const {
    return inView(m_location, view);
}

CGPoint UITouch::previousLocationInView(const std::shared_ptr<UIView>& view) const {
    return inView(m_previousLocation, view);
}

void UITouch::_moveTo(CGPoint pointInWindow, UITouchPhase phase) {
    m_previousLocation = m_location;
    m_location = pointInWindow;
    m_phase = phase;
}

CGPoint UITouch::inView(CGPoint pointInWindow, const std::shared_ptr<UIView>& view) const {
    auto window = m_window.lock();
    if (!view || !window)
        return pointInWindow;
    return view->convertPointFromView(pointInWindow, window);
}
