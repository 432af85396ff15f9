#include "hosts/settings/SBSRestartRenderServerAction.h"

std::shared_ptr<SBSRestartRenderServerAction>
SBSRestartRenderServerAction::restartActionWithTargetRelaunchURL(Value targetURL) {
    auto action = std::make_shared<SBSRestartRenderServerAction>();
    action->m_targetURL = std::move(targetURL);
    return action;
}
