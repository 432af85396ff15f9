#pragma once

#include <memory>

#include "platform/uikit/UIView.h"

class UIEvent;

class UIViewController;

// The root of a view tree. Holds its root view controller strongly and puts that controller's view
// in itself, filling the window and following its size. A window becomes visible (and the
// application's key window) with makeKeyAndVisible, which also lays the tree out; from then on its
// root view controller gets appearance callbacks. A new window fills the main screen (the simulated
// device's screen size) until code gives it another frame; the window is the top of its tree's layout.
class UIWindow : public UIView {
public:
    // Hidden until made visible, as on the platform.
    UIWindow();

    std::shared_ptr<UIViewController> rootViewController() const { return m_rootViewController; }
    // Replaces the root: the old root's view leaves the window, the new root's view loads and enters
    // it; while the window is visible the old root disappears and the new one appears.
    void setRootViewController(const std::shared_ptr<UIViewController>& controller);
    void makeKeyAndVisible();
    bool isKeyWindow() const;
    void setHidden(bool hidden) override;

    // The window's traits: those set on it, else the current trait collection; the device's
    // horizontal size class fills in when neither specifies one.
    std::shared_ptr<UITraitCollection> traitCollection() const override;
    // Used by hosts when the device's appearance or size class changes: the window's views and
    // view controllers (root, its children and presented ones) get traitCollectionDidChange.
    void _setTraitCollection(const std::shared_ptr<UITraitCollection>& traits);

    // Delivers each touch of the event to the view it first touched, by its phase.
    void sendEvent(const std::shared_ptr<UIEvent>& event);
    // The responder that typed text goes to; nullptr when none.
    std::shared_ptr<UIResponder> _firstResponder() const { return m_firstResponder.lock(); }
    // Views call these as they become or resign first responder.
    void _setFirstResponder(const std::shared_ptr<UIResponder>& responder) { m_firstResponder = responder; }

private:
    std::weak_ptr<UIResponder> m_firstResponder;
    std::shared_ptr<UIViewController> m_rootViewController;
    std::shared_ptr<UITraitCollection> m_traitCollection;
};

using UIWindowPtr = std::shared_ptr<UIWindow>;
