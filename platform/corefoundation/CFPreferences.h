#pragma once

#include <string_view>

#include "platform/foundation/Value.h"

// Core Foundation preferences over file-backed domains (see platform::PreferenceDomainLocator for
// where each domain lives). Changes stay in this process until a synchronize writes them; a
// synchronize with nothing to write makes the next read pick up what other processes wrote.
// An application ID that cannot name a file in the preferences folder ("", "..", anything with '/')
// is refused: reads find nothing, writes are dropped and synchronizing it fails.

inline constexpr std::string_view kCFPreferencesCurrentApplication = "kCFPreferencesCurrentApplication";
inline constexpr std::string_view kCFPreferencesAnyApplication = "kCFPreferencesAnyApplication";
inline constexpr std::string_view kCFPreferencesCurrentUser = "kCFPreferencesCurrentUser";
inline constexpr std::string_view kCFPreferencesAnyUser = "kCFPreferencesAnyUser";
inline constexpr std::string_view kCFPreferencesCurrentHost = "kCFPreferencesCurrentHost";
inline constexpr std::string_view kCFPreferencesAnyHost = "kCFPreferencesAnyHost";

// The application's domain for the current user and any host, then kCFPreferencesAnyApplication's.
// Null when neither has the key.
Value CFPreferencesCopyAppValue(std::string_view key, std::string_view applicationID);
// A null value removes the key.
void CFPreferencesSetAppValue(std::string_view key, const Value& value, std::string_view applicationID);
bool CFPreferencesAppSynchronize(std::string_view applicationID);

// One exact domain, with no search through others.
Value CFPreferencesCopyValue(std::string_view key, std::string_view applicationID, std::string_view user,
                             std::string_view host);
void CFPreferencesSetValue(std::string_view key, const Value& value, std::string_view applicationID,
                           std::string_view user, std::string_view host);
bool CFPreferencesSynchronize(std::string_view applicationID, std::string_view user, std::string_view host);

// The domain's keys as an array of strings, or null when it has none.
Value CFPreferencesCopyKeyList(std::string_view applicationID, std::string_view user, std::string_view host);
// A dictionary of the listed keys that have values (every key when `keysToFetch` is null).
Value CFPreferencesCopyMultiple(const Value& keysToFetch, std::string_view applicationID,
                                std::string_view user, std::string_view host);
// Sets the dictionary's keys, then removes the listed ones; either may be null.
void CFPreferencesSetMultiple(const Value& keysToSet, const Value& keysToRemove,
                              std::string_view applicationID, std::string_view user, std::string_view host);
