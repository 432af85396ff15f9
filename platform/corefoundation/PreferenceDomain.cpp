#include "platform/corefoundation/PreferenceDomain.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/corefoundation/DomainFileLock.h"
#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/PropertyList.h"

namespace platform {

const Value::Dictionary& PreferenceDomain::values() {
    return loadedValues();
}

const Value& PreferenceDomain::valueForKey(std::string_view key) {
    const auto& values = loadedValues();
    auto found = values.find(key);
    return found == values.end() ? Value::null() : found->second;
}

void PreferenceDomain::setValue(std::string key, Value value) {
    auto& values = loadedValues();
    if (value.isNull()) {
        // Removing what is not there changes nothing, so it must not make a corrupt file rewritten.
        if (values.erase(key) == 0 && !m_pendingChanges.contains(key))
            return;
        m_pendingChanges.insert_or_assign(std::move(key), Value());
        return;
    }
    if (!isPropertyListValue(value))
        return;
    values.insert_or_assign(key, value);
    m_pendingChanges.insert_or_assign(std::move(key), std::move(value));
}

bool PreferenceDomain::synchronize() {
    if (m_pendingChanges.empty()) {
        m_values.reset();
        return true;
    }
    std::error_code folderError;
    std::filesystem::create_directories(DeviceRoot::resolve(m_devicePath).parent_path(), folderError);
    if (folderError)
        return false;
    DomainFileLock lock(DeviceRoot::resolve(m_devicePath + ".lock"));
    if (!lock.held()) {
        std::fprintf(stderr, "CFPreferences: couldn't lock %s; the change is not written yet\n",
                     m_devicePath.c_str());
        return false;
    }
    return mergeIntoDisk();
}

bool PreferenceDomain::mergeIntoDisk() {
    // Another process may have written other keys since this copy was read: keep theirs.
    auto merged = readFromDisk();
    if (!merged) {
        reportUnreadable("the file is kept and the change is not written");
        return false;
    }
    for (const auto& [key, value] : m_pendingChanges) {
        if (value.isNull())
            merged->erase(key);
        else
            merged->insert_or_assign(key, value);
    }
    if (!writeToDisk(*merged))
        return false;
    m_values = std::move(*merged);
    m_pendingChanges.clear();
    return true;
}

Value::Dictionary& PreferenceDomain::loadedValues() {
    if (!m_values) {
        auto read = readFromDisk();
        if (!read)
            reportUnreadable("reading it as empty");
        m_values = read ? std::move(*read) : Value::Dictionary();
    }
    return *m_values;
}

std::optional<Value::Dictionary> PreferenceDomain::readFromDisk() const {
    std::error_code existsError;
    if (!std::filesystem::exists(DeviceRoot::resolve(m_devicePath), existsError) && !existsError)
        return Value::Dictionary();
    auto contents = PropertyList::readFile(m_devicePath);
    if (!contents || !contents->isDictionary())
        return std::nullopt;
    return contents->asDictionary();
}

bool PreferenceDomain::writeToDisk(const Value::Dictionary& values) const {
    return PropertyList::writeFile(m_devicePath, Value(values));
}

void PreferenceDomain::reportUnreadable(std::string_view consequence) const {
    std::fprintf(stderr, "CFPreferences: couldn't read the preference domain %s; %.*s\n",
                 m_devicePath.c_str(), static_cast<int>(consequence.size()), consequence.data());
}

bool PreferenceDomain::isPropertyListValue(const Value& value) {
    if (value.isNull())
        return false;
    for (const auto& item : value.asArray()) {
        if (!isPropertyListValue(item))
            return false;
    }
    for (const auto& [key, item] : value.asDictionary()) {
        if (!isPropertyListValue(item))
            return false;
    }
    return true;
}

} // namespace platform
