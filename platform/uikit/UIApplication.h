#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/foundation/Value.h"
#include "platform/uikit/UIResponder.h"

class NSURL;
class UIWindow;

enum class UIStatusBarStyle {
    Default = 0,
    LightContent = 1,
    DarkContent = 3,
};

// The process's application object, registered as "UIApplication" so that a host can add methods to
// it by name (the Settings host adds generateURL) and code can send it messages.
//
// Opening URLs: http and https always open (the browser is always there); any other scheme opens
// only when an installed application handles it (SimulatedDevice::installedURLSchemes, compared
// without regard to case). Each openURL is recorded in the DeviceEventLog.
class UIApplication : public UIResponder {
public:
    static std::shared_ptr<UIApplication> sharedApplication();

    bool canOpenURL(const std::shared_ptr<NSURL>& url) const;
    // Records {"openURL": "<url>"} (with "opened": false added when nothing could open it) and
    // returns canOpenURL's answer. A nil URL records nothing.
    bool openURL(const std::shared_ptr<NSURL>& url);
    // As above; the completion gets the answer on the main queue's next turn.
    void openURL(const std::shared_ptr<NSURL>& url, const Value& options,
                 std::function<void(bool)> completion);

    // The window made key last that still exists.
    std::shared_ptr<UIWindow> keyWindow() const;
    // The windows that were made visible and still exist, oldest first.
    std::vector<std::shared_ptr<UIWindow>> windows() const;

    // Records {"respring": {"via": "UIApplication"}}.
    void _relaunchSpringBoardNow();

    UIStatusBarStyle statusBarStyle() const { return m_statusBarStyle; }
    void setStatusBarStyle(UIStatusBarStyle style, bool animated = false);

    // Called by UIWindow.
    void _windowDidBecomeVisible(const std::shared_ptr<UIWindow>& window);
    void _windowDidBecomeKey(const std::shared_ptr<UIWindow>& window);
    void _windowDidHide(const UIWindow& window);

    UIApplication() = default;

private:
    std::vector<std::weak_ptr<UIWindow>> m_windows;
    std::weak_ptr<UIWindow> m_keyWindow;
    UIStatusBarStyle m_statusBarStyle = UIStatusBarStyle::Default;
};

using UIApplicationPtr = std::shared_ptr<UIApplication>;
