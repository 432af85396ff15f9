#pragma once

#include <map>
#include <string>

#include "platform/foundation/NSOperatingSystemVersion.h"

// The running process as the platform describes it; the OS release is the simulated device's.
class NSProcessInfo {
public:
    static NSProcessInfo& processInfo();

    NSOperatingSystemVersion operatingSystemVersion() const;
    bool isOperatingSystemAtLeastVersion(NSOperatingSystemVersion version) const;
    // "Version 13.4.1", as the platform prints it.
    std::string operatingSystemVersionString() const;
    // The process's environment variables as they are now.
    std::map<std::string, std::string> environment() const;

private:
    NSProcessInfo() = default;
};
