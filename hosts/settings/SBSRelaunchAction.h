#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/runtime/NSObject.h"

// SpringBoard's request to relaunch, as the Settings host plays it: a reason, option bits and the
// address to reopen afterwards. The Settings host registers the class by name so the pane can find it.
class SBSRelaunchAction : public NSObject {
public:
    // The URL is a string, or null for none.
    static std::shared_ptr<SBSRelaunchAction> actionWithReason(std::string reason, std::int64_t options,
                                                               Value targetURL);

    const std::string& reason() const { return m_reason; }
    std::int64_t options() const { return m_options; }
    const Value& targetURL() const { return m_targetURL; }

    SBSRelaunchAction() = default;

private:
    std::string m_reason;
    std::int64_t m_options = 0;
    Value m_targetURL;
};
