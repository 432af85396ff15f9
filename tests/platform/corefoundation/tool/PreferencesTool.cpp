// A second process for the preferences tests: sets or reads one key in a device root, as another
// program on the device would.
//   preferences_tool <device-root> set <application-id> <key> <string>   exit 0 when synchronised
//   preferences_tool <device-root> get <application-id> <key>            prints the value; exit 2 if absent
#include <cstdio>
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
