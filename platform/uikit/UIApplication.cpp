#include "platform/uikit/UIApplication.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/uikit/DeviceEventLog.h"
#include "platform/uikit/UIWindow.h"

namespace {

std::string lowercased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    return text;
}

// The selectors that code reaching the application by name sends; a host may add more
// (generateURL in the Settings host).
Class registerApplicationClass() {
    using platform::argument;
    using platform::methodImplementation;
    Class cls = platform::registerClass<UIApplication, UIResponder>("UIApplication");
    platform::addMethods<UIApplication>(
        cls, {{"_relaunchSpringBoardNow", platform::bind<&UIApplication::_relaunchSpringBoardNow>()}});
    // Senders pass the URL as a string here.
    class_addMethod(cls, "canOpenURL:",
                    methodImplementation<UIApplication>([](const std::shared_ptr<UIApplication>& application,
                                                           const MessageArguments& arguments) {
                        return application->canOpenURL(
                            NSURL::URLWithString(argument(arguments, 0).value().stringValue()));
                    }));
    class_addMethod(cls, "openURL:",
                    methodImplementation<UIApplication>([](const std::shared_ptr<UIApplication>& application,
                                                           const MessageArguments& arguments) {
                        return application->openURL(
                            NSURL::URLWithString(argument(arguments, 0).value().stringValue()));
                    }));
    return cls;
}

[[maybe_unused]] const Class registeredApplication = registerApplicationClass();

} // namespace

std::shared_ptr<UIApplication> UIApplication::sharedApplication() {
    static const auto application = std::make_shared<UIApplication>();
    return application;
}

bool UIApplication::canOpenURL(const std::shared_ptr<NSURL>& url) const {
    if (!url || !url->scheme())
        return false;
    auto scheme = lowercased(*url->scheme());
    if (scheme == "http" || scheme == "https")
        return true;
    auto installed = platform::SimulatedDevice::installedURLSchemes();
    return std::any_of(installed.begin(), installed.end(),
                       [&scheme](const std::string& handled) { return lowercased(handled) == scheme; });
}

bool UIApplication::openURL(const std::shared_ptr<NSURL>& url) {
    if (!url)
        return false;
    bool opened = canOpenURL(url);
    auto event = Value::dictionary({{"openURL", url->absoluteString()}});
    if (!opened)
        event.set("opened", false);
    platform::DeviceEventLog::shared().record(std::move(event));
    return opened;
}

void UIApplication::openURL(const std::shared_ptr<NSURL>& url, const Value&,
                            std::function<void(bool)> completion) {
    bool opened = openURL(url);
    if (completion)
        dispatch_async(dispatch_get_main_queue(),
                       [completion = std::move(completion), opened] { completion(opened); });
}

std::shared_ptr<UIWindow> UIApplication::keyWindow() const {
    return m_keyWindow.lock();
}

std::vector<std::shared_ptr<UIWindow>> UIApplication::windows() const {
    std::vector<std::shared_ptr<UIWindow>> windows;
    for (const auto& window : m_windows)
        if (auto alive = window.lock())
            windows.push_back(std::move(alive));
    return windows;
}

void UIApplication::_relaunchSpringBoardNow() {
    platform::DeviceEventLog::shared().record(
        Value::dictionary({{"respring", Value::dictionary({{"via", "UIApplication"}})}}));
}

void UIApplication::setStatusBarStyle(UIStatusBarStyle style, bool) {
    m_statusBarStyle = style;
}

void UIApplication::_windowDidBecomeVisible(const std::shared_ptr<UIWindow>& window) {
    std::erase_if(m_windows, [](const std::weak_ptr<UIWindow>& entry) { return entry.expired(); });
    for (const auto& entry : m_windows)
        if (entry.lock() == window)
            return;
    m_windows.push_back(window);
}

void UIApplication::_windowDidBecomeKey(const std::shared_ptr<UIWindow>& window) {
    _windowDidBecomeVisible(window);
    m_keyWindow = window;
}

void UIApplication::_windowDidHide(const UIWindow& window) {
    std::erase_if(m_windows, [&window](const std::weak_ptr<UIWindow>& entry) {
        auto alive = entry.lock();
        return !alive || alive.get() == &window;
    });
    if (m_keyWindow.lock().get() == &window)
        m_keyWindow.reset();
}
