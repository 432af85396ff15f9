#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/credits/KVCorvaleCreditService.h"
#include "platform/runtime/NSObject.h"

class NSURL;

// One account of a credited person: a username on a service, with an optional display name that
// replaces the service's formatting. Without a service it has no title and no links.
class KVCorvaleCreditOption : public NSObject {
public:
    KVCorvaleCreditOption() = default;

    static std::shared_ptr<KVCorvaleCreditOption>
    initWithUsername(std::string username, std::shared_ptr<KVCorvaleCreditService> service,
                     std::optional<std::string> forcedFormattedUsername = std::nullopt);

    // Nil without a service.
    std::optional<std::string> getActionTitle() const;
    std::optional<std::vector<std::shared_ptr<NSURL>>> getLinks() const;
    // Opens the first link the system can open (asking UIApplication); nothing when none can.
    void open() const;

    const std::string& username() const { return m_username; }
    void setUsername(std::string username) { m_username = std::move(username); }
    const std::shared_ptr<KVCorvaleCreditService>& service() const { return m_service; }
    void setService(std::shared_ptr<KVCorvaleCreditService> service) { m_service = std::move(service); }
    // An empty string counts as set.
    const std::optional<std::string>& forcedFormattedUsername() const { return m_forcedFormattedUsername; }
    void setForcedFormattedUsername(std::optional<std::string> name) {
        m_forcedFormattedUsername = std::move(name);
    }

private:
    std::string m_username;
    std::shared_ptr<KVCorvaleCreditService> m_service;
    std::optional<std::string> m_forcedFormattedUsername;
};
