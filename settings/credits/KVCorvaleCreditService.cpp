#include "settings/credits/KVCorvaleCreditService.h"

#include "settings/credits/KVCorvaleCreditOption.h"
#include "platform/foundation/NSURL.h"

namespace {

[[maybe_unused]] const Class registeredService =
    platform::registerClass<KVCorvaleCreditService>("KVCorvaleCreditService");

using Service = KVCorvaleCreditService;

std::shared_ptr<Service> makeKnownService(std::string_view name) {
    if (name == "website")
        return Service::initWithActionTitleFormatter("View website", {"{username}"}, "Service-Website");
    if (name == "twitter")
        return Service::initWithUsernameFormatter(
            "@{username}", "Follow {username} on Twitter",
            {"tweetbot:///user_profile/{username}", "twitterrific:///profile?screen_name={username}",
             "tweetings:///user?screen_name={username}",
             "https://twitter.com/intent/follow?screen_name={username}"},
            "Service-Twitter");
    if (name == "reddit")
        return Service::initWithUsernameFormatter("/u/{username}", "View {username} on Reddit",
                                                  {"https://mobile.reddit.com/user/{username}"},
                                                  "Service-Reddit");
    if (name == "github")
        return Service::initWithActionTitleFormatter("View {username} on GitHub",
                                                     {"https://github.com/{username}"}, "Service-GitHub");
    if (name == "google-plus")
        return Service::initWithActionTitleFormatter(
            "Follow {username} on Google Plus", {"https://plus.google.com/{username}"}, "Service-GooglePlus");
    if (name == "instagram")
        return Service::initWithUsernameFormatter("@{username}", "Follow {username} on Instagram",
                                                  {"https://www.instagram.com/{username}"},
                                                  "Service-Instagram");
    if (name == "youtube")
        return Service::initWithActionTitleFormatter("Subscribe to {username} on YouTube",
                                                     {"https://www.youtube.com/"}, "Service-YouTube");
    if (name == "paypal")
        return Service::initWithActionTitleFormatter("Donate to {username} using PayPal",
                                                     {"https://paypal.me/{username}"}, "Service-PayPal");
    if (name == "email")
        return Service::initWithActionTitleFormatter("Email {username}", {"mailto:{username}"},
                                                     "Service-Email");
    return nullptr;
}

} // namespace

std::shared_ptr<KVCorvaleCreditService> KVCorvaleCreditService::serviceWithName(std::string_view name) {
    return makeKnownService(name);
}

std::shared_ptr<KVCorvaleCreditService> KVCorvaleCreditService::initWithUsernameFormatter(
    std::string usernameFormatter, std::string actionTitleFormatter, std::vector<std::string> linkFormatters,
    std::string imageName) {
    auto service = std::make_shared<KVCorvaleCreditService>();
    service->m_usernameFormatter = std::move(usernameFormatter);
    service->m_actionTitleFormatter = std::move(actionTitleFormatter);
    service->m_linkFormatters = std::move(linkFormatters);
    service->m_imageName = std::move(imageName);
    return service;
}

std::shared_ptr<KVCorvaleCreditService> KVCorvaleCreditService::initWithActionTitleFormatter(
    std::string actionTitleFormatter, std::vector<std::string> linkFormatters, std::string imageName) {
    return initWithUsernameFormatter(std::string(usernamePlaceholder), std::move(actionTitleFormatter),
                                     std::move(linkFormatters), std::move(imageName));
}

std::string KVCorvaleCreditService::getFormattedUsernameForOption(const KVCorvaleCreditOption& option) const {
    if (option.forcedFormattedUsername())
        return *option.forcedFormattedUsername();
    return substituteUsername(m_usernameFormatter, option.username());
}

std::string KVCorvaleCreditService::getActionTitleForOption(const KVCorvaleCreditOption& option) const {
    return substituteUsername(m_actionTitleFormatter, getFormattedUsernameForOption(option));
}

std::vector<std::shared_ptr<NSURL>>
KVCorvaleCreditService::getLinksForOption(const KVCorvaleCreditOption& option) const {
    std::vector<std::shared_ptr<NSURL>> links;
    for (const auto& format : m_linkFormatters) {
        if (auto link = NSURL::URLWithString(substituteUsername(format, option.username())))
            links.push_back(std::move(link));
    }
    return links;
}

std::string KVCorvaleCreditService::substituteUsername(std::string_view format, std::string_view username) {
    std::string result;
    std::size_t start = 0;
    for (auto found = format.find(usernamePlaceholder); found != std::string_view::npos;
         found = format.find(usernamePlaceholder, start)) {
        result.append(format.substr(start, found - start));
        result.append(username);
        start = found + usernamePlaceholder.size();
    }
    result.append(format.substr(start));
    return result;
}
