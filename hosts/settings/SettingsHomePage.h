#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "hosts/settings/PreferenceLoaderEntry.h"
#include "platform/preferences/PSListController.h"

namespace corvale::settingshost {

// The Settings app's own first page: one row per installed pane, with the entry's "label" and
// "icon", in the order of the entry files. Selecting a row hands its entry to the app to open.
class SettingsHomePage : public PSListController {
public:
    static constexpr platform::RegisteredName<SettingsHomePage> registeredName{"PSUIPrefsListController"};
    using OpenPane = std::function<void(const PreferenceLoaderEntry&)>;

    SettingsHomePage() = default;
    static std::shared_ptr<SettingsHomePage> make(std::vector<PreferenceLoaderEntry> entries, OpenPane open);

    const std::vector<PreferenceLoaderEntry>& entries() const { return m_entries; }

    std::shared_ptr<PSSpecifierList> specifiers() override;
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                                    const std::shared_ptr<NSIndexPath>& indexPath) override;
    void tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                          const std::shared_ptr<NSIndexPath>& indexPath) override;

private:
    const PreferenceLoaderEntry* entryOfRow(const std::shared_ptr<NSIndexPath>& indexPath);

    std::vector<PreferenceLoaderEntry> m_entries;
    OpenPane m_open;
};

} // namespace corvale::settingshost
