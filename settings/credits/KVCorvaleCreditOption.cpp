#include "settings/credits/KVCorvaleCreditOption.h"

#include "platform/foundation/NSURL.h"
#include "platform/uikit/UIApplication.h"

namespace {

[[maybe_unused]] const Class registeredOption =
    platform::registerClass<KVCorvaleCreditOption>("KVCorvaleCreditOption");

} // namespace

std::shared_ptr<KVCorvaleCreditOption>
KVCorvaleCreditOption::initWithUsername(std::string username, std::shared_ptr<KVCorvaleCreditService> service,
                                        std::optional<std::string> forcedFormattedUsername) {
    auto option = std::make_shared<KVCorvaleCreditOption>();
    option->m_username = std::move(username);
    option->m_service = std::move(service);
    option->m_forcedFormattedUsername = std::move(forcedFormattedUsername);
    return option;
}

std::optional<std::string> KVCorvaleCreditOption::getActionTitle() const {
    if (!m_service)
        return std::nullopt;
    return m_service->getActionTitleForOption(*this);
}

std::optional<std::vector<std::shared_ptr<NSURL>>> KVCorvaleCreditOption::getLinks() const {
    if (!m_service)
        return std::nullopt;
    return m_service->getLinksForOption(*this);
}

void KVCorvaleCreditOption::open() const {
    auto links = getLinks();
    if (!links)
        return;
    auto application = UIApplication::sharedApplication();
    for (const auto& link : *links) {
        if (application->canOpenURL(link)) {
            application->openURL(link);
            return;
        }
    }
}
