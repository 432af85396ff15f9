#pragma once

#include <memory>

#include "platform/foundation/NSError.h"
#include "platform/foundation/Value.h"

class KVCorvaleSettingsCreditsManager;

// Receives what a credits manager loads. Calls come on the thread that called startFetch (the cached
// copy) or on the URL session's background queue (server answers): hop to the main queue before
// touching views.
class KVCorvaleSettingsCreditsManagerDelegate {
public:
    virtual ~KVCorvaleSettingsCreditsManagerDelegate() = default;

    // The "credits" and "links" arrays of the cached or downloaded credits; null when absent or not
    // arrays.
    virtual void
    creditsManagerDidLoadCreditsAndLinks(const std::shared_ptr<KVCorvaleSettingsCreditsManager>& manager,
                                         const Value& credits, const Value& links) = 0;
    // The transport or parser error, or nil when the answer parsed but carried no "hash".
    virtual void
    creditsManagerDidFailToLoadWithError(const std::shared_ptr<KVCorvaleSettingsCreditsManager>& manager,
                                         const NSErrorPtr& error) = 0;
};
