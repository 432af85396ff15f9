#pragma once

#include <memory>
#include <string>

#include "platform/foundation/NSBundle.h"
#include "platform/preferences/PSListController.h"
#include "hosts/settings/PreferenceLoaderEntry.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

namespace corvale::settingshost {

// The Settings app with one pane open: the pane's first page as the root of a navigation controller
// (nested in the app's outer one) in the key window, made the way the app makes it from the pane's loader
// entry.
class SettingsApplication {
public:
    // Loads the entry's bundle, creates its principal class (else the entry's "detail" class), gives
    // it an opening row built from the entry and the bundle, shows it and lets the main queue run
    // dry. Nothing, with the reason in *problem, when any of that fails.
    static std::unique_ptr<SettingsApplication> open(const PreferenceLoaderEntry& entry,
                                                     std::string* problem);
    // Quitting closes whatever is presented: an alert's handler may hold the page that presented it.
    ~SettingsApplication();
    SettingsApplication(const SettingsApplication&) = delete;
    SettingsApplication& operator=(const SettingsApplication&) = delete;

    const PreferenceLoaderEntry& entry() const { return m_entry; }
    const std::shared_ptr<NSBundle>& paneBundle() const { return m_bundle; }
    // The key window the pane is shown in (what `render` draws).
    const std::shared_ptr<UIWindow>& window() const { return m_window; }
    // The navigation controller of the pane's pages.
    const std::shared_ptr<UINavigationController>& navigationController() const { return m_navigation; }
    // The app's own navigation controller, whose bar is on screen; it holds the pane's one.
    const std::shared_ptr<UINavigationController>& outerNavigationController() const {
        return m_outerNavigation;
    }
    // The page on top of the navigation stack; nil when what is on top is no list page.
    std::shared_ptr<PSListController> topPage() const;
    // The alert presented over the pages, if any.
    std::shared_ptr<UIAlertController> presentedAlert() const;
    // Pops the top page; false when the first page is on top.
    bool goBack();

    // Where the app stands, as it reopens itself: "prefs:root=<entry label>", then "&path=" and the
    // identifiers of the opening rows of the pages pushed since, joined by "/". Each part is
    // percent-encoded so that the whole is always a URL.
    std::string navigationPosition() const;

    // The opening row the app gives the pane's first page: the entry's label as its name and every
    // key of the entry as a property.
    static std::shared_ptr<PSSpecifier> openingSpecifier(const PreferenceLoaderEntry& entry, Class pageClass);

private:
    SettingsApplication(PreferenceLoaderEntry entry, std::shared_ptr<NSBundle> bundle);
    void show(const std::shared_ptr<PSListController>& page);

    PreferenceLoaderEntry m_entry;
    std::shared_ptr<NSBundle> m_bundle;
    std::shared_ptr<UINavigationController> m_navigation;
    std::shared_ptr<UINavigationController> m_outerNavigation;
    std::shared_ptr<UIWindow> m_window;
};

} // namespace corvale::settingshost
