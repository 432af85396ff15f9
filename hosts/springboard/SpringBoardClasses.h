#pragma once

#include "platform/foundation/Value.h"
#include "platform/runtime/NSObject.h"

namespace corvale::springboardhost {

// SpringBoard's own classes as the runtime knows them: "SpringBoard" (a UIApplication) with
// applicationDidFinishLaunching:, and "SBLockScreenManager" with finishUIUnlockFromSource: and
// lockScreenViewControllerDidDismiss. Their implementations only count their calls, so a dump shows
// that a substituted method still reached SpringBoard's own.
class SpringBoardClasses {
public:
    // Defines both classes once; later calls do nothing.
    static void registerClasses();
    static id makeSpringBoard();
    static id makeLockScreenManager();
    // {"launches": n, "unlocks": n, "lockScreenDismissals": n}
    static Value callCounts();
};

} // namespace corvale::springboardhost
