#include <gtest/gtest.h>

#include "hosts/settings/CommandLine.h"

using corvale::settingshost::CommandLine;
using corvale::settingshost::HostStep;

namespace {

CommandLine parse(std::vector<std::string_view> arguments) {
    return CommandLine::parse(arguments);
}

} // namespace

TEST(SettingsHostCommandLine, StepsKeepTheirOrderAndOperandsAmongOptions) {
    auto commandLine =
        parse({"--os", "13.4.1", "set", "enabled", "false", "--appearance=dark", "tap", "--odd label",
               "alert", "Respring", "set", "name", "\"text\"", "back", "lint", "dump"});
    ASSERT_EQ(commandLine.action, CommandLine::Action::run) << commandLine.usageError;
    ASSERT_EQ(commandLine.steps.size(), 7u);
    EXPECT_EQ(commandLine.steps[0].kind, HostStep::Kind::set);
    EXPECT_EQ(commandLine.steps[0].name, "enabled");
    EXPECT_EQ(commandLine.steps[0].value, Value(false));
    EXPECT_TRUE(commandLine.steps[0].value.isBool());
    // A step's operand is taken as it stands, even when it looks like an option.
    EXPECT_EQ(commandLine.steps[1].kind, HostStep::Kind::tap);
    EXPECT_EQ(commandLine.steps[1].name, "--odd label");
    EXPECT_EQ(commandLine.steps[2].kind, HostStep::Kind::alert);
    EXPECT_EQ(commandLine.steps[3].value, Value("text"));
    EXPECT_EQ(commandLine.steps[4].kind, HostStep::Kind::back);
    EXPECT_EQ(commandLine.steps[5].kind, HostStep::Kind::lint);
    EXPECT_EQ(commandLine.steps[6].kind, HostStep::Kind::dump);

    ASSERT_TRUE(commandLine.device.osVersion);
    EXPECT_EQ(*commandLine.device.osVersion, (NSOperatingSystemVersion{13, 4, 1}));
    EXPECT_EQ(commandLine.device.appearance, platform::SimulatedDevice::Appearance::Dark);
}

TEST(SettingsHostCommandLine, SetValuesAreJSONLiteralsOfEveryKind) {
    auto commandLine = parse({"set", "a", "0", "set", "b", "2.5", "set", "c", "null", "set", "d", "[1]"});
    ASSERT_EQ(commandLine.action, CommandLine::Action::run) << commandLine.usageError;
    EXPECT_TRUE(commandLine.steps[0].value.isInteger());
    EXPECT_EQ(commandLine.steps[1].value, Value(2.5));
    EXPECT_TRUE(commandLine.steps[2].value.isNull());
    EXPECT_TRUE(commandLine.steps[3].value.isArray());
}

TEST(SettingsHostCommandLine, DeviceOptionsAndLeftOutClasses) {
    auto commandLine =
        parse({"--device-root", "/tmp/device", "--installed-schemes", "twitter,,mailto", "--without-class",
               "FBSSystemService", "--without-class=SBSRelaunchAction", "dump"});
    ASSERT_EQ(commandLine.action, CommandLine::Action::run) << commandLine.usageError;
    EXPECT_EQ(commandLine.device.deviceRoot, "/tmp/device");
    EXPECT_EQ(commandLine.device.installedSchemes, (std::vector<std::string>{"twitter", "mailto"}));
    EXPECT_EQ(commandLine.withoutClasses, (std::set<std::string>{"FBSSystemService", "SBSRelaunchAction"}));
    EXPECT_FALSE(commandLine.device.osVersion);
    EXPECT_FALSE(commandLine.device.appearance);
}

TEST(SettingsHostCommandLine, MistakesAreUsageErrorsThatSayWhatIsWrong) {
    struct Case {
        std::vector<std::string_view> arguments;
        std::string_view mentions;
    };
    const Case cases[] = {
        {{}, "no steps"},
        {{"--os", "13.0"}, "no steps"},
        {{"dmup"}, "dmup"},
        {{"tap"}, "tap needs"},
        {{"set", "enabled"}, "needs a value"},
        {{"set", "enabled", "True"}, "not a JSON literal"},
        {{"--os", "13.a", "dump"}, "13.a"},
        {{"--os", "dump"}, "dump"},
        {{"--appearance", "sepia", "dump"}, "sepia"},
        {{"--without-class", "UIColor", "dump"}, "UIColor"},
        {{"--device-root"}, "--device-root needs a value"},
        {{"--colour", "red", "dump"}, "--colour"},
    };
    for (const auto& [arguments, mentions] : cases) {
        auto commandLine = parse(arguments);
        EXPECT_EQ(commandLine.action, CommandLine::Action::reportUsageError) << mentions;
        EXPECT_NE(commandLine.usageError.find(mentions), std::string::npos) << commandLine.usageError;
    }
    EXPECT_EQ(parse({"dump", "--help"}).action, CommandLine::Action::showHelp);
}
