#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Where a preference domain lives on the device. (application, user, host) names one property list:
//   current user ("mobile")  /var/mobile/Library/Preferences/<application>.plist
//   "root"                   /var/root/Library/Preferences/<application>.plist
//   any user                 /Library/Preferences/<application>.plist
// with the current host's domains in a "ByHost" folder beside them. kCFPreferencesCurrentApplication
// is the running host's identifier and kCFPreferencesAnyApplication is ".GlobalPreferences".
class PreferenceDomainLocator {
public:
    static constexpr std::string_view globalDomainName = ".GlobalPreferences";

    // The domain name an application ID stands for; nothing when it cannot name a file inside the
    // preferences folder (empty, ".", "..", or holding '/' or a NUL).
    static std::optional<std::string> domainName(std::string_view applicationID);
    // The device path of the domain's property list; nothing for a refused name or an unknown user.
    static std::optional<std::string> devicePath(std::string_view applicationID, std::string_view user,
                                                 std::string_view host);

private:
    static std::optional<std::string> preferencesFolder(std::string_view user, std::string_view host);
};

} // namespace platform
