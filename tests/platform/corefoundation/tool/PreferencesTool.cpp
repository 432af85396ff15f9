// A second process for the preferences tests: sets or reads one key in a device root, as another
// program on the device would.
//   preferences_tool <device-root> set <application-id> <key> <string>   exit 0 when synchronised
//   preferences_tool <device-root> get <application-id> <key>            prints the value; exit 2 if absent
//   preferences_tool <device-root> set-many <application-id> <prefix> <count>
//       sets <prefix>0 ... <prefix><count - 1>, synchronising after each; exit 0 when all were
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/corefoundation/CFPreferences.h"
#include "platform/foundation/DeviceRoot.h"

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <device-root> set|get <application-id> <key> [value]\n", argv[0]);
        return 64;
    }
    platform::DeviceRoot::setRoot(argv[1]);
    std::string_view command = argv[2];
    std::string_view applicationID = argv[3];
    std::string_view key = argv[4];
    if (command == "set" && argc == 6) {
        CFPreferencesSetAppValue(key, Value(argv[5]), applicationID);
        return CFPreferencesAppSynchronize(applicationID) ? 0 : 1;
    }
    if (command == "set-many" && argc == 6) {
        int count = std::atoi(argv[5]);
        bool allSynchronised = true;
        for (int index = 0; index < count; ++index) {
            CFPreferencesSetAppValue(std::string(key) + std::to_string(index), Value(index), applicationID);
            allSynchronised = CFPreferencesAppSynchronize(applicationID) && allSynchronised;
        }
        return allSynchronised ? 0 : 1;
    }
    if (command == "get" && argc == 5) {
        Value value = CFPreferencesCopyAppValue(key, applicationID);
        if (value.isNull())
            return 2;
        std::printf("%s", value.stringValue().c_str());
        return 0;
    }
    std::fprintf(stderr, "unknown command\n");
    return 64;
}
