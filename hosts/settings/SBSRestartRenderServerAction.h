#pragma once

#include <memory>

#include "platform/foundation/Value.h"
#include "platform/runtime/NSObject.h"

// The older request to restart the render server (and with it SpringBoard): only a return address.
class SBSRestartRenderServerAction : public NSObject {
public:
    // The URL is a string, or null for none.
    static std::shared_ptr<SBSRestartRenderServerAction> restartActionWithTargetRelaunchURL(Value targetURL);

    const Value& targetURL() const { return m_targetURL; }

    SBSRestartRenderServerAction() = default;

private:
    Value m_targetURL;
};
