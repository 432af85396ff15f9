#include "hosts/settings/SettingsHomePage.h"

#include "platform/foundation/NSBundle.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewCell.h"

namespace corvale::settingshost {

namespace {

[[maybe_unused]] const Class registeredClass = platform::registerClass<SettingsHomePage, PSListController>();

constexpr const char* entryIndexKey = "_entryIndex";

// An entry's icon: from its pane's bundle by scale, or, for a pane of rows, the file of that name beside
// the entry file.
std::shared_ptr<UIImage> iconOf(const PreferenceLoaderEntry& entry, const std::string& name) {
    if (entry.isSimplePane())
        return UIImage::imageWithContentsOfFile(std::string(PreferenceLoaderEntry::entriesFolder) + "/" + name);
    auto bundle = NSBundle::bundleWithPath(entry.bundlePath());
    return bundle ? UIImage::imageNamed(name, bundle, nullptr) : nullptr;
}

} // namespace

std::shared_ptr<SettingsHomePage> SettingsHomePage::make(std::vector<PreferenceLoaderEntry> entries, OpenPane open) {
    auto page = std::make_shared<SettingsHomePage>();
    page->m_entries = std::move(entries);
    page->m_open = std::move(open);
    page->setTitle("Settings");
    return page;
}

std::shared_ptr<PSSpecifierList> SettingsHomePage::specifiers() {
    if (_specifiers)
        return _specifiers;
    auto list = std::make_shared<PSSpecifierList>();
    list->push_back(PSSpecifier::emptyGroupSpecifier());
    for (std::size_t index = 0; index < m_entries.size(); ++index) {
        const auto& entry = m_entries[index];
        auto row = PSSpecifier::preferenceSpecifierNamed(entry.label(), selfAs<SettingsHomePage>(), "", "", nullptr,
                                                         PSLinkCell, nullptr);
        row->setIdentifier(entry.label());
        row->setProperty(Value(static_cast<std::int64_t>(index)), entryIndexKey);
        list->push_back(row);
    }
    _specifiers = list;
    return _specifiers;
}

std::shared_ptr<UITableViewCell>
SettingsHomePage::tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                 const std::shared_ptr<NSIndexPath>& indexPath) {
    auto cell = PSListController::tableViewCellForRowAtIndexPath(tableView, indexPath);
    const auto* entry = entryOfRow(indexPath);
    if (cell && entry && !cell->image()) {
        const Value& icon = entry->entry["icon"];
        if (auto image = icon.isString() && !icon.asString().empty() ? iconOf(*entry, icon.asString()) : nullptr)
            cell->setImage(image);
    }
    return cell;
}

void SettingsHomePage::tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                        const std::shared_ptr<NSIndexPath>& indexPath) {
    tableView->deselectRowAtIndexPath(indexPath, true);
    if (const auto* entry = entryOfRow(indexPath); entry && m_open)
        m_open(*entry);
}

const PreferenceLoaderEntry* SettingsHomePage::entryOfRow(const std::shared_ptr<NSIndexPath>& indexPath) {
    auto row = specifierAtIndexPath(indexPath);
    const Value& index = row ? row->properties()[entryIndexKey] : Value();
    if (!index.isNumber() || index.integerValue() < 0 || index.integerValue() >= static_cast<long>(m_entries.size()))
        return nullptr;
    return &m_entries[static_cast<std::size_t>(index.integerValue())];
}

} // namespace corvale::settingshost
