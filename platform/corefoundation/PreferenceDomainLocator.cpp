#include "platform/corefoundation/PreferenceDomainLocator.h"

#include "platform/corefoundation/CFPreferences.h"
#include "platform/foundation/SimulatedDevice.h"

namespace platform {

namespace {

bool isSafeFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

} // namespace

std::optional<std::string> PreferenceDomainLocator::domainName(std::string_view applicationID) {
    std::string name;
    if (applicationID == kCFPreferencesCurrentApplication)
        name = SimulatedDevice::applicationIdentifier();
    else if (applicationID == kCFPreferencesAnyApplication)
        name = globalDomainName;
    else
        name = applicationID;
    if (!isSafeFileName(name))
        return std::nullopt;
    return name;
}

std::optional<std::string> PreferenceDomainLocator::devicePath(std::string_view applicationID,
                                                               std::string_view user, std::string_view host) {
    auto name = domainName(applicationID);
    auto folder = preferencesFolder(user, host);
    if (!name || !folder)
        return std::nullopt;
    return *folder + "/" + *name + ".plist";
}

std::optional<std::string> PreferenceDomainLocator::preferencesFolder(std::string_view user,
                                                                      std::string_view host) {
    std::string folder;
    if (user == kCFPreferencesCurrentUser || user == "mobile")
        folder = "/var/mobile/Library/Preferences";
    else if (user == "root")
        folder = "/var/root/Library/Preferences";
    else if (user == kCFPreferencesAnyUser)
        folder = "/Library/Preferences";
    else
        return std::nullopt;

    if (host == kCFPreferencesCurrentHost)
        return folder + "/ByHost";
    if (host == kCFPreferencesAnyHost)
        return folder;
    return std::nullopt;
}

} // namespace platform
