#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/NSObject.h"

class KVCorvaleCreditOption;
class NSURL;

// One kind of account a credited person can have (Twitter, GitHub, e-mail...): how its username is
// shown, the title of its button, the links to try when the button is tapped and its icon's name.
// Templates hold "{username}" placeholders; every occurrence is replaced verbatim.
class KVCorvaleCreditService : public NSObject {
public:
    static constexpr std::string_view usernamePlaceholder = "{username}";

    KVCorvaleCreditService() = default;

    // A new service for one of the nine known names (matched exactly), or nil.
    static std::shared_ptr<KVCorvaleCreditService> serviceWithName(std::string_view name);

    static std::shared_ptr<KVCorvaleCreditService>
    initWithUsernameFormatter(std::string usernameFormatter, std::string actionTitleFormatter,
                              std::vector<std::string> linkFormatters, std::string imageName);
    // The username is shown unchanged.
    static std::shared_ptr<KVCorvaleCreditService>
    initWithActionTitleFormatter(std::string actionTitleFormatter, std::vector<std::string> linkFormatters,
                                 std::string imageName);

    // The forced display name when the option has one, else the username through the formatter.
    std::string getFormattedUsernameForOption(const KVCorvaleCreditOption& option) const;
    // The button title, made with the display name.
    std::string getActionTitleForOption(const KVCorvaleCreditOption& option) const;
    // The links made from the raw username, in template order; text that is no URL is skipped.
    std::vector<std::shared_ptr<NSURL>> getLinksForOption(const KVCorvaleCreditOption& option) const;

    const std::string& usernameFormatter() const { return m_usernameFormatter; }
    void setUsernameFormatter(std::string formatter) { m_usernameFormatter = std::move(formatter); }
    const std::string& actionTitleFormatter() const { return m_actionTitleFormatter; }
    void setActionTitleFormatter(std::string formatter) { m_actionTitleFormatter = std::move(formatter); }
    const std::vector<std::string>& linkFormatters() const { return m_linkFormatters; }
    void setLinkFormatters(std::vector<std::string> formatters) { m_linkFormatters = std::move(formatters); }
    const std::string& imageName() const { return m_imageName; }
    void setImageName(std::string imageName) { m_imageName = std::move(imageName); }

    // Every "{username}" of the template replaced by the text, as it is.
    static std::string substituteUsername(std::string_view format, std::string_view username);

private:
    std::string m_usernameFormatter{usernamePlaceholder};
    std::string m_actionTitleFormatter;
    std::vector<std::string> m_linkFormatters;
    std::string m_imageName;
};
