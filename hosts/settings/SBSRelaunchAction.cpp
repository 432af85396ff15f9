#include "hosts/settings/SBSRelaunchAction.h"

std::shared_ptr<SBSRelaunchAction>
SBSRelaunchAction::actionWithReason(std::string reason, std::int64_t options, Value targetURL) {
    auto action = std::make_shared<SBSRelaunchAction>();
    action->m_reason = std::move(reason);
    action->m_options = options;
    action->m_targetURL = std::move(targetURL);
    return action;
}
