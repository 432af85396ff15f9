#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/credits/CreditServiceEntry.h"
#include "settings/credits/KVCorvaleCreditOption.h"
#include "settings/credits/KVCorvaleCreditService.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/SimulatedDevice.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/DeviceEventLog.h"

namespace {

using Option = KVCorvaleCreditOption;
using Service = KVCorvaleCreditService;

std::shared_ptr<Option> option(std::string_view service, std::string username,
                               std::optional<std::string> forced = std::nullopt) {
    return Option::initWithUsername(std::move(username), Service::serviceWithName(service),
                                    std::move(forced));
}

std::vector<std::string> linkStrings(const Option& option) {
    std::vector<std::string> strings;
    for (const auto& link : option.getLinks().value_or(std::vector<std::shared_ptr<NSURL>>{}))
        strings.push_back(link->absoluteString());
    return strings;
}

// Opens the option with these schemes installed; the URLs the device was asked to open.
std::vector<std::string> openedWith(const Option& option, std::vector<std::string> installedSchemes) {
    platform::SimulatedDevice::setInstalledURLSchemes(std::move(installedSchemes));
    platform::DeviceEventLog::shared().take();
    option.open();
    std::vector<std::string> opened;
    for (const auto& event : platform::DeviceEventLog::shared().take()) {
        EXPECT_FALSE(event.contains("opened")) << "open asked for a link nothing can open";
        opened.push_back(event["openURL"].stringValue());
    }
    platform::SimulatedDevice::setInstalledURLSchemes({});
    return opened;
}

} // namespace

TEST(CreditService, TheTableGivesTitlesLinksAndIconsForAbc) {
    struct Row {
        const char* name;
        const char* title;
        std::vector<std::string> links;
        const char* image;
    };
    const std::vector<Row> table = {
        {"twitter",
         "Follow @abc on Twitter",
         {"tweetbot:///user_profile/abc", "twitterrific:///profile?screen_name=abc",
          "tweetings:///user?screen_name=abc", "https://twitter.com/intent/follow?screen_name=abc"},
         "Service-Twitter"},
        {"reddit", "View /u/abc on Reddit", {"https://mobile.reddit.com/user/abc"}, "Service-Reddit"},
        {"github", "View abc on GitHub", {"https://github.com/abc"}, "Service-GitHub"},
        {"google-plus", "Follow abc on Google Plus", {"https://plus.google.com/abc"}, "Service-GooglePlus"},
        {"instagram", "Follow @abc on Instagram", {"https://www.instagram.com/abc"}, "Service-Instagram"},
        {"youtube", "Subscribe to abc on YouTube", {"https://www.youtube.com/"}, "Service-YouTube"},
        {"paypal", "Donate to abc using PayPal", {"https://paypal.me/abc"}, "Service-PayPal"},
        {"email", "Email abc", {"mailto:abc"}, "Service-Email"},
        {"website", "View website", {"abc"}, "Service-Website"},
    };
    for (const auto& row : table) {
        auto credit = option(row.name, "abc");
        ASSERT_TRUE(credit->service()) << row.name;
        EXPECT_EQ(credit->getActionTitle(), row.title) << row.name;
        EXPECT_EQ(linkStrings(*credit), row.links) << row.name;
        EXPECT_EQ(credit->service()->imageName(), row.image) << row.name;
    }
    EXPECT_EQ(Service::serviceWithName("twitter")->getFormattedUsernameForOption(*option("twitter", "abc")),
              "@abc");
    EXPECT_EQ(Service::serviceWithName("reddit")->getFormattedUsernameForOption(*option("reddit", "abc")),
              "/u/abc");
    EXPECT_EQ(Service::serviceWithName("paypal")->getFormattedUsernameForOption(*option("paypal", "abc")),
              "abc");

    // Each call builds a service of its own.
    EXPECT_NE(Service::serviceWithName("github"), Service::serviceWithName("github"));
}

TEST(CreditService, UnknownNamesGiveNoServiceAndAnOptionWithoutTitleOrLinks) {
    for (std::string_view name : {"Twitter", "twitter ", "", "facebook"})
        EXPECT_FALSE(Service::serviceWithName(name)) << name;

    auto orphan = option("Twitter", "abc");
    EXPECT_FALSE(orphan->service());
    EXPECT_FALSE(orphan->getActionTitle());
    EXPECT_FALSE(orphan->getLinks());
    EXPECT_TRUE(openedWith(*orphan, {"tweetbot"}).empty());
}

TEST(CreditService, AForcedNameChangesTheTitleButNeverTheLinks) {
    auto credit = option("twitter", "abc", "Abc C.");
    EXPECT_EQ(credit->getActionTitle(), "Follow Abc C. on Twitter");
    EXPECT_EQ(linkStrings(*credit).back(), "https://twitter.com/intent/follow?screen_name=abc");
    EXPECT_EQ(linkStrings(*credit).front(), "tweetbot:///user_profile/abc");

    // An empty forced name is still a forced name.
    EXPECT_EQ(option("reddit", "abc", "")->getActionTitle(), "View  on Reddit");
}

TEST(CreditService, TemplatesReplaceEveryPlaceholderVerbatim) {
    EXPECT_EQ(Service::substituteUsername("{username}/{username}", "a b"), "a b/a b");
    EXPECT_EQ(Service::substituteUsername("no placeholder", "abc"), "no placeholder");
    EXPECT_EQ(Service::substituteUsername("{USERNAME} {username", "abc"), "{USERNAME} {username");
    // The replacement is not searched again.
    EXPECT_EQ(Service::substituteUsername("<{username}>", "{username}"), "<{username}>");
    EXPECT_EQ(Service::substituteUsername("", "abc"), "");

    auto custom = Service::initWithActionTitleFormatter("Visit {username}",
                                                        {"https://a.example/{username}/{username}"}, "Icon");
    EXPECT_EQ(custom->usernameFormatter(), "{username}");
    auto credit = Option::initWithUsername("abc", custom);
    EXPECT_EQ(linkStrings(*credit), std::vector<std::string>{"https://a.example/abc/abc"});
    EXPECT_EQ(credit->getActionTitle(), "Visit abc");
}

TEST(CreditService, LinksThatAreNotURLsAreDroppedNotRepaired) {
    auto website = option("website", "https://orlan.example/about?x=1");
    EXPECT_EQ(linkStrings(*website), std::vector<std::string>{"https://orlan.example/about?x=1"});

    auto spaced = option("website", "not a url");
    EXPECT_TRUE(linkStrings(*spaced).empty());
    EXPECT_TRUE(openedWith(*spaced, {}).empty());

    // A username that makes no URL anywhere leaves no link at all; YouTube's ignores it.
    auto twitter = option("twitter", "a%zz");
    EXPECT_TRUE(linkStrings(*twitter).empty());
    auto youtube = option("youtube", "any name at all");
    EXPECT_EQ(linkStrings(*youtube), std::vector<std::string>{"https://www.youtube.com/"});
}

TEST(CreditService, OpeningTakesTheFirstLinkTheDeviceCanOpen) {
    auto twitter = option("twitter", "abc");
    EXPECT_EQ(openedWith(*twitter, {}),
              std::vector<std::string>{"https://twitter.com/intent/follow?screen_name=abc"});
    EXPECT_EQ(openedWith(*twitter, {"tweetings", "twitterrific"}),
              std::vector<std::string>{"twitterrific:///profile?screen_name=abc"});
    EXPECT_EQ(openedWith(*twitter, {"Tweetbot", "tweetings"}),
              std::vector<std::string>{"tweetbot:///user_profile/abc"});

    auto email = option("email", "abc@halcyra.example");
    EXPECT_TRUE(openedWith(*email, {}).empty());
    EXPECT_EQ(openedWith(*email, {"mailto"}), std::vector<std::string>{"mailto:abc@halcyra.example"});
}

TEST(CreditService, ServiceEntriesFromTheCreditsDataBecomeOptions) {
    auto full = corvale::creditOptionForServiceEntry(
        Value::dictionary({{"service", "twitter"}, {"username", "abc"}, {"forcedFormattedUsername", "Abc"}}));
    EXPECT_EQ(full->username(), "abc");
    EXPECT_EQ(full->forcedFormattedUsername(), "Abc");
    EXPECT_EQ(full->getActionTitle(), "Follow Abc on Twitter");

    auto withoutUsername = corvale::creditOptionForServiceEntry(Value::dictionary({{"service", "github"}}));
    EXPECT_EQ(withoutUsername->username(), "");
    EXPECT_FALSE(withoutUsername->forcedFormattedUsername());
    EXPECT_EQ(withoutUsername->getActionTitle(), "View  on GitHub");
    EXPECT_EQ(linkStrings(*withoutUsername), std::vector<std::string>{"https://github.com/"});

    auto oddTypes = corvale::creditOptionForServiceEntry(
        Value::dictionary({{"service", 3}, {"username", 7}, {"forcedFormattedUsername", false}}));
    EXPECT_FALSE(oddTypes->service());
    EXPECT_EQ(oddTypes->username(), "");
    EXPECT_FALSE(oddTypes->forcedFormattedUsername());

    EXPECT_FALSE(corvale::creditOptionForServiceEntry(Value("twitter"))->service());
}

TEST(CreditService, TheClassesAreFoundByName) {
    for (const char* name : {"KVCorvaleCreditService", "KVCorvaleCreditOption",
                             "KVCorvaleSettingsCreditsManager", "KVCorvaleSettingsCreditsImageManager"})
        EXPECT_TRUE(objc_getClass(name)) << name;
    auto made = class_createInstance(objc_getClass("KVCorvaleCreditOption"));
    EXPECT_TRUE(std::dynamic_pointer_cast<KVCorvaleCreditOption>(made));
}
