#include <gtest/gtest.h>

#include "hosts/devserver/CommandLine.h"

using corvale::devserver::CommandLine;
using corvale::devserver::CommandLineDefaults;

namespace {

const CommandLineDefaults defaults{"/src/examples/server", "/tmp/cert.pem"};

CommandLine parse(std::vector<std::string_view> arguments) {
    return CommandLine::parse(arguments, defaults);
}

} // namespace

TEST(DevServerCommandLine, OptionsTakeValuesInBothSpellings) {
    auto plain = parse({});
    EXPECT_EQ(plain.action, CommandLine::Action::serve);
    EXPECT_EQ(plain.contentFolder, "/src/examples/server");
    EXPECT_EQ(plain.port, 0);
    EXPECT_FALSE(plain.useTLS);
    EXPECT_TRUE(plain.requestLog.empty());

    auto full = parse({"--content", "/c", "--port=65535", "--log", "/l.jsonl", "--tls", "--cert-out=/x.pem"});
    EXPECT_EQ(full.action, CommandLine::Action::serve) << full.usageError;
    EXPECT_EQ(full.contentFolder, "/c");
    EXPECT_EQ(full.port, 65535);
    EXPECT_EQ(full.requestLog, "/l.jsonl");
    EXPECT_TRUE(full.useTLS);
    EXPECT_EQ(full.certificateOutput, "/x.pem");

    EXPECT_EQ(parse({"--tls"}).certificateOutput, "/tmp/cert.pem");
    EXPECT_EQ(parse({"--cert-out", "/y.pem", "--tls"}).certificateOutput, "/y.pem");
    EXPECT_EQ(parse({"--port", "8080", "--port", "0"}).port, 0);
}

TEST(DevServerCommandLine, HelpWinsAndDescribesTheDefaults) {
    EXPECT_EQ(parse({"--port", "1", "--help", "--bogus"}).action, CommandLine::Action::showHelp);
    EXPECT_EQ(parse({"-h"}).action, CommandLine::Action::showHelp);
    auto help = CommandLine::helpText(defaults);
    EXPECT_NE(help.find("/src/examples/server"), std::string::npos);
    EXPECT_NE(help.find("/tmp/cert.pem"), std::string::npos);
    for (const char* option : {"--content", "--port", "--log", "--tls", "--cert-out", "--help"}) {
        EXPECT_NE(help.find(option), std::string::npos) << option;
    }
}

TEST(DevServerCommandLine, MistakesAreUsageErrors) {
    for (std::vector<std::string_view> arguments : std::vector<std::vector<std::string_view>>{
             {"--port"},
             {"--port", "65536"},
             {"--port", "-1"},
             {"--port", "80a"},
             {"--port="},
             {"--port", ""},
             {"--content"},
             {"--content="},
             {"--log"},
             {"--tls=yes"},
             {"--help=me"},
             {"--cert-out", "/x.pem"},
             {"--verbose"},
             {"serve"},
         }) {
        auto commandLine = parse(arguments);
        EXPECT_EQ(commandLine.action, CommandLine::Action::reportUsageError) << arguments.front();
        EXPECT_FALSE(commandLine.usageError.empty());
    }
}
