#pragma once

#include <memory>

#include "platform/foundation/NSSet.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/NSObject.h"

// The system service that carries out SpringBoard actions. Here a restart is not carried out but
// recorded in the device's event log, where the host reports it.
class FBSSystemService : public NSObject {
public:
    static std::shared_ptr<FBSSystemService> sharedService();

    // Records {"respring": {"via": "FBSSystemService", "reason", "options", "targetURL"}} for every
    // relaunch or render-server restart action in the set, in the set's order; other objects are
    // ignored. The result handler is not modelled: the restart has no outcome to report here.
    void sendActions(const std::shared_ptr<NSSet>& actions);

    // The event recorded for one action; null for an object that is no restart action.
    static Value restartEventForAction(const id& action);

    FBSSystemService() = default;
};
