#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hosts/settings/PreferenceLoaderEntry.h"
#include "hosts/settings/SettingsHomePage.h"
#include "platform/foundation/NSBundle.h"
#include "platform/preferences/PSListController.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

namespace corvale::settingshost {

// The Settings app in the key window: its own list of the installed panes, and at most one pane open.
// A pane's pages live in a navigation controller of their own (nested in the app's outer one), made
// the way the app makes them from the pane's loader entry.
class SettingsApplication {
public:
    // Reads the installed entries and shows the pane labelled `paneLabel`, else the only pane when
    // exactly one is installed, else the list. Nothing, with the reason in *problem, when no entry is
    // usable, when no entry has that label, or when the pane to show cannot be opened.
    static std::unique_ptr<SettingsApplication> launch(const std::optional<std::string>& paneLabel,
                                                       std::string* problem);
    // Quitting closes whatever is presented: an alert's handler may hold the page that presented it.
    ~SettingsApplication();
    SettingsApplication(const SettingsApplication&) = delete;
    SettingsApplication& operator=(const SettingsApplication&) = delete;

    // The open pane's entry and bundle; nothing and nil while the list is on top, and the bundle is
    // nil for a simple pane.
    const std::optional<PreferenceLoaderEntry>& entry() const { return m_entry; }
    const std::shared_ptr<NSBundle>& paneBundle() const { return m_bundle; }
    // The key window the app is shown in (what `render` draws).
    const std::shared_ptr<UIWindow>& window() const { return m_window; }
    // The navigation controller of the open pane's pages; nil while the list is on top.
    const std::shared_ptr<UINavigationController>& navigationController() const { return m_navigation; }
    // The app's own navigation controller, whose bar is on screen; it holds the list and the pane's one.
    const std::shared_ptr<UINavigationController>& outerNavigationController() const {
        return m_outerNavigation;
    }
    // The page on top: the open pane's top page, else the list; nil when what is on top is no list page.
    std::shared_ptr<PSListController> topPage() const;
    // The alert presented over the pages, if any.
    std::shared_ptr<UIAlertController> presentedAlert() const;
    // Pops the pane's top page, or from the pane's first page back to the list when the pane was
    // opened from it; false when there is nothing to go back to.
    bool goBack();
    // Closes the pane and shows the list of installed panes.
    void goHome();
    // Opens a pane from the list, on top of it; false with the reason when it cannot be opened.
    bool openPane(const PreferenceLoaderEntry& entry, std::string* problem);

    // Where the app stands, as it reopens itself: "prefs:root=<entry label>", then "&path=" and the
    // identifiers of the opening rows of the pages pushed since, joined by "/"; "prefs:" on the list.
    // Each part is percent-encoded so that the whole is always a URL.
    std::string navigationPosition() const;

    // The opening row the app gives the pane's first page: the entry's label as its name and every
    // key of the entry as a property.
    static std::shared_ptr<PSSpecifier> openingSpecifier(const PreferenceLoaderEntry& entry, Class pageClass);

private:
    SettingsApplication() = default;
    // The pane's first page, its bundle loaded; nil with the reason when it cannot be made.
    static std::shared_ptr<PSListController> firstPageOf(const PreferenceLoaderEntry& entry,
                                                         std::shared_ptr<NSBundle>* bundle, std::string* problem);
    void showWindow(const std::shared_ptr<UIViewController>& root);
    void dismissPresented();

    std::shared_ptr<SettingsHomePage> m_home;
    std::optional<PreferenceLoaderEntry> m_entry;
    std::shared_ptr<NSBundle> m_bundle;
    std::shared_ptr<UINavigationController> m_navigation;
    std::shared_ptr<UINavigationController> m_outerNavigation;
    std::shared_ptr<UIWindow> m_window;
};

} // namespace corvale::settingshost
