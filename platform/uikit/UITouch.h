#pragma once

#include <memory>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/CGGeometry.h"

class UIView;
class UIWindow;

enum class UITouchPhase : int { Began, Moved, Stationary, Ended, Cancelled };

// One finger on the screen: where it is in its window, the view it first touched (which gets every
// phase of it), and how far it has got.
class UITouch : public NSObject {
public:
    UITouch(const std::shared_ptr<UIWindow>& window, const std::shared_ptr<UIView>& view, CGPoint pointInWindow);

    std::shared_ptr<UIWindow> window() const { return m_window.lock(); }
    std::shared_ptr<UIView> view() const { return m_view.lock(); }
    UITouchPhase phase() const { return m_phase; }
    long tapCount() const { return 1; }
    // In the view's bounds coordinates; nil: the window's.
    CGPoint locationInView(const std::shared_ptr<UIView>& view) const;
    CGPoint previousLocationInView(const std::shared_ptr<UIView>& view) const;

    // The finger moves (in window coordinates) or changes phase; for whoever synthesises touches.
    void _moveTo(CGPoint pointInWindow, UITouchPhase phase);

private:
    CGPoint inView(CGPoint pointInWindow, const std::shared_ptr<UIView>& view) const;

    std::weak_ptr<UIWindow> m_window;
    std::weak_ptr<UIView> m_view;
    CGPoint m_location;
    CGPoint m_previousLocation;
    UITouchPhase m_phase = UITouchPhase::Began;
};
