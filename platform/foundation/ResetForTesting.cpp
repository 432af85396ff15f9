#include "platform/foundation/ResetForTesting.h"

#include "platform/corefoundation/DarwinNotificationLog.h"
#include "platform/corefoundation/PreferencesStore.h"
#include "platform/foundation/MediaClock.h"
#include "platform/uikit/AppearanceRegistry.h"
#include "platform/uikit/DeviceEventLog.h"

namespace platform {

void resetForTesting() {
    PreferencesStore::shared().resetForNewProcess();
    DarwinNotificationLog::shared().takePosted();
    DeviceEventLog::shared().take();
    AppearanceRegistry::shared().removeAllValues();
    resetSimulatedDevice();
    setMediaClock(nullptr);
}

} // namespace platform
