#include "platform/foundation/NSProcessInfo.h"

#include <unistd.h>

#include "platform/foundation/SimulatedDevice.h"

extern char** environ;

NSProcessInfo& NSProcessInfo::processInfo() {
    static NSProcessInfo shared;
    return shared;
}

NSOperatingSystemVersion NSProcessInfo::operatingSystemVersion() const {
    return platform::SimulatedDevice::osVersion();
}

bool NSProcessInfo::isOperatingSystemAtLeastVersion(NSOperatingSystemVersion version) const {
    return platform::compareVersions(operatingSystemVersion(), version) >= 0;
}

std::string NSProcessInfo::operatingSystemVersionString() const {
    return "Version " + platform::versionString(operatingSystemVersion());
}

std::map<std::string, std::string> NSProcessInfo::environment() const {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; entry && *entry; ++entry) {
        std::string_view text(*entry);
        std::size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            continue;
        variables.emplace(std::string(text.substr(0, equals)), std::string(text.substr(equals + 1)));
    }
    return variables;
}
