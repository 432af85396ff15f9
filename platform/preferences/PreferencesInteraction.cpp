#include "platform/preferences/PreferencesInteraction.h"

namespace platform {

template <class Matches>
std::shared_ptr<PSSpecifier>
PreferencesInteraction::firstShownRow(const std::shared_ptr<PSListController>& page, Matches matches) {
    if (!page)
        return nullptr;
    auto table = page->table();
    for (long section = 0; section < table->numberOfSections(); ++section) {
        for (long row = 0; row < table->numberOfRowsInSection(section); ++row) {
            auto specifier = page->specifierAtIndexPath(NSIndexPath::indexPathForRow(row, section));
            if (specifier && matches(*specifier))
                return specifier;
        }
    }
    return nullptr;
}

std::shared_ptr<PSSpecifier>
PreferencesInteraction::rowWithLabel(const std::shared_ptr<PSListController>& page, std::string_view label) {
    return firstShownRow(page, [&](const PSSpecifier& specifier) { return specifier.name() == label; });
}

std::shared_ptr<PSSpecifier> PreferencesInteraction::rowWithKey(const std::shared_ptr<PSListController>& page,
                                                                std::string_view key) {
    return firstShownRow(page, [&](const PSSpecifier& specifier) {
        const Value& rowKey = specifier.properties()["key"];
        return rowKey.isString() && rowKey.asString() == key;
    });
}

bool PreferencesInteraction::tapRowWithLabel(const std::shared_ptr<PSListController>& page,
                                             std::string_view label) {
    auto specifier = rowWithLabel(page, label);
    auto indexPath = page ? page->indexPathForSpecifier(specifier) : nullptr;
    if (!indexPath)
        return false;
    const auto& table = page->table();
    table->cellForRowAtIndexPath(indexPath);
    if (auto delegate = table->delegate())
        delegate->tableViewDidSelectRowAtIndexPath(table, indexPath);
    return true;
}

bool PreferencesInteraction::setValueOfRowWithKey(const std::shared_ptr<PSListController>& page,
                                                  std::string_view key, const Value& value) {
    auto specifier = rowWithKey(page, key);
    if (!specifier)
        return false;
    id target = specifier->target();
    if (!target)
        target = page;
    std::string_view setter = specifier->setter.empty() ? PSSpecifier::defaultSetter : specifier->setter;
    objc_msgSend(target, setter, {MessageValue(value), MessageValue(specifier)});
    return true;
}

} // namespace platform
