#include "platform/corefoundation/CFPreferences.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/corefoundation/PreferenceDomainLocator.h"
#include "platform/corefoundation/PreferencesStore.h"

using platform::PreferenceDomainLocator;
using platform::PreferencesStore;

namespace {

std::optional<std::string> appDomainPath(std::string_view applicationID) {
    return PreferenceDomainLocator::devicePath(applicationID, kCFPreferencesCurrentUser,
                                               kCFPreferencesAnyHost);
}

std::vector<std::string> stringsIn(const Value& array) {
    std::vector<std::string> strings;
    for (const auto& item : array.asArray()) {
        if (item.isString())
            strings.push_back(item.asString());
    }
    return strings;
}

} // namespace

Value CFPreferencesCopyAppValue(std::string_view key, std::string_view applicationID) {
    auto path = appDomainPath(applicationID);
    if (!path)
        return {};
    Value value = PreferencesStore::shared().valueForKey(*path, key);
    if (!value.isNull())
        return value;
    auto globalPath = appDomainPath(kCFPreferencesAnyApplication);
    if (!globalPath || *globalPath == *path)
        return {};
    return PreferencesStore::shared().valueForKey(*globalPath, key);
}

void CFPreferencesSetAppValue(std::string_view key, const Value& value, std::string_view applicationID) {
    CFPreferencesSetValue(key, value, applicationID, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
}

bool CFPreferencesAppSynchronize(std::string_view applicationID) {
    return CFPreferencesSynchronize(applicationID, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
}

Value CFPreferencesCopyValue(std::string_view key, std::string_view applicationID, std::string_view user,
                             std::string_view host) {
    auto path = PreferenceDomainLocator::devicePath(applicationID, user, host);
    if (!path)
        return {};
    return PreferencesStore::shared().valueForKey(*path, key);
}

void CFPreferencesSetValue(std::string_view key, const Value& value, std::string_view applicationID,
                           std::string_view user, std::string_view host) {
    if (auto path = PreferenceDomainLocator::devicePath(applicationID, user, host))
        PreferencesStore::shared().setValue(*path, std::string(key), value);
}

bool CFPreferencesSynchronize(std::string_view applicationID, std::string_view user, std::string_view host) {
    auto path = PreferenceDomainLocator::devicePath(applicationID, user, host);
    return path && PreferencesStore::shared().synchronize(*path);
}

Value CFPreferencesCopyKeyList(std::string_view applicationID, std::string_view user, std::string_view host) {
    auto path = PreferenceDomainLocator::devicePath(applicationID, user, host);
    if (!path)
        return {};
    Value keys;
    for (const auto& [key, value] : PreferencesStore::shared().allValues(*path))
        keys.append(key);
    return keys;
}

Value CFPreferencesCopyMultiple(const Value& keysToFetch, std::string_view applicationID,
                                std::string_view user, std::string_view host) {
    auto path = PreferenceDomainLocator::devicePath(applicationID, user, host);
    if (!path)
        return Value::dictionary();
    Value::Dictionary values = PreferencesStore::shared().allValues(*path);
    if (keysToFetch.isNull())
        return Value(std::move(values));
    Value::Dictionary wanted;
    for (const auto& key : stringsIn(keysToFetch)) {
        if (auto found = values.find(key); found != values.end())
            wanted.insert_or_assign(key, found->second);
    }
    return Value(std::move(wanted));
}

void CFPreferencesSetMultiple(const Value& keysToSet, const Value& keysToRemove,
                              std::string_view applicationID, std::string_view user, std::string_view host) {
    auto path = PreferenceDomainLocator::devicePath(applicationID, user, host);
    if (!path)
        return;
    PreferencesStore::shared().setMultiple(*path, keysToSet.asDictionary(), stringsIn(keysToRemove));
}
