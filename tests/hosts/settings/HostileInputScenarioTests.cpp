// The Settings host with damaged preference files, a tweak name that would leave the support
// directory, and credits answers larger than any real list.
#include <filesystem>
#include <fstream>
#include <string>

#include "hosts/devserver/DevServer.h"
#include "platform/foundation/PropertyList.h"
#include "tests/hosts/settings/FixturePane.h"
#include "tests/platform/foundation/URLSessionTestServer.h"

namespace {

using corvale::devserver::DevServer;
using corvale::devserver::DevServerOptions;
using nlohmann::json;

constexpr const char* domainFile = "/var/mobile/Library/Preferences/dev.test.corvale.plist";

class HostileInputScenario : public FixturePane {
protected:
    // Serves this exact body for the tweak "Corvale", uncompressed, so that the server's own work
    // stays out of the host's time.
    void serveRawCredits(std::string body) {
        m_raw = std::make_unique<URLSessionTestServer>();
        m_raw->routes().Get("/credits/Corvale",
                            [body = std::move(body)](const httplib::Request&, httplib::Response& response) {
                                response.set_content(body, "application/octet-stream");
                            });
        ASSERT_TRUE(m_raw->start());
    }

    // Serves this answer body for the tweak "Corvale" (the server adds "success" and "hash").
    void serveCredits(const std::string& body) {
        const auto content = m_root.path() / "server";
        std::filesystem::create_directories(content / "credits");
        std::ofstream(content / "credits" / "Corvale.json") << body;
        DevServerOptions options;
        options.contentFolder = content;
        options.requestLog = m_root.path() / "requests.log";
        m_server = std::make_unique<DevServer>(options);
        std::string problem;
        ASSERT_TRUE(m_server->start(0, &problem)) << problem;
    }

    std::size_t requestCount() const {
        std::ifstream log(m_root.path() / "requests.log");
        std::size_t count = 0;
        for (std::string line; std::getline(log, line);)
            ++count;
        return count;
    }

    void setTweakName(const std::string& name) const {
        const std::string info = std::string(bundlePath) + "/Info.plist";
        auto dictionary = platform::PropertyList::readFile(info).value_or(Value());
        dictionary.set("KVTweakName", name);
        ASSERT_TRUE(platform::PropertyList::writeFile(info, dictionary));
    }

    std::unique_ptr<DevServer> m_server;
    std::unique_ptr<URLSessionTestServer> m_raw;
};

// Credit rows of a dump.
std::size_t creditRows(const json& dump) {
    std::size_t count = 0;
    for (const auto& row : dumpline::rows(dump))
        count += row.contains("credit") ? 1 : 0;
    return count;
}

} // namespace

TEST_F(HostileInputScenario, ADamagedDomainSurvivesAChangeAndALargeOneKeepsEveryValue) {
    const std::string damaged =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>level</key><real>0.8";
    m_root.writeFile(domainFile, damaged);
    auto refused = runHost({"set", "master", "true"});
    EXPECT_EQ(m_root.readFile(domainFile), damaged);
    EXPECT_NE(refused.errors.find("couldn't read the preference domain"), std::string::npos)
        << refused.errors;

    // 17 MB of other values, more than the old read limit.
    auto large = Value::dictionary({{"level", 0.8}, {"notes", std::string(17 * 1024 * 1024, 'n')}});
    ASSERT_TRUE(platform::PropertyList::writeFile(domainFile, large));
    auto run = runHost({"set", "master", "true", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto stored = readDomain("dev.test.corvale");
    EXPECT_EQ(stored["master"], Value(true));
    EXPECT_EQ(stored["level"], Value(0.8));
    EXPECT_EQ(stored["notes"].asString().size(), 17u * 1024 * 1024);
}

TEST_F(HostileInputScenario, ATweakNameThatIsAPathFetchesNothingWritesNothingAndIsLinted) {
    serveCredits(R"({"credits":[{"name":"Ada Quill"}],"links":[]})");
    const std::string escaping = "../../../../../../../../Library/PreferenceLoader/Preferences/Pwned";
    setTweakName(escaping);

    auto run = runHost({"--credits-server", m_server->baseURL(), "wait-credits", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_EQ(requestCount(), 0u);
    EXPECT_FALSE(
        std::filesystem::exists(m_root.hostPath("/Library/PreferenceLoader/Preferences/Pwned.json")));

    auto lint = runHost({"lint"});
    EXPECT_EQ(lint.exitStatus, 3) << lint.errors;
    ASSERT_FALSE(lint.jsonLines().empty());
    EXPECT_EQ(lint.jsonLines().front()["plist"], "Info.plist");
    EXPECT_EQ(lint.jsonLines().front()["property"], "KVTweakName");
    EXPECT_EQ(lint.jsonLines().front()["value"], escaping);
}

TEST_F(HostileInputScenario, AHundredThousandPeopleAreRefusedAndFiftyThousandAreCutShort) {
    // About 2 MB: over the answer cap, so the page says the credits could not be loaded.
    std::string people;
    for (int index = 0; index < 100000; ++index)
        people += std::string(index ? "," : "") + R"({"name":"P)" + std::to_string(index) + R"("})";
    serveRawCredits(R"({"hash":"H","credits":[)" + people + "]}");
    auto refused = runHost({"--credits-server", m_raw->url(""), "wait-credits", "dump"});
    ASSERT_EQ(refused.exitStatus, 0) << refused.errors;
    EXPECT_EQ(creditRows(refused.jsonLines().back()), 0u);
    EXPECT_FALSE(dumpline::rowLabelled(refused.jsonLines().back(), "Couldn't load credits").is_null());

    // Within the cap, but far more rows than a page builds: the rest are counted in the dump.
    people.clear();
    for (int index = 0; index < 50000; ++index)
        people += std::string(index ? "," : "") + "{}";
    std::string links;
    for (int index = 0; index < 80; ++index)
        links += std::string(index ? "," : "") + R"({"title":"L)" + std::to_string(index) +
                 R"(","url":"https://example.org/"})";
    serveRawCredits(R"({"hash":"H","credits":[)" + people + R"(],"links":[)" + links + "]}");
    auto cut = runHost({"--credits-server", m_raw->url(""), "wait-credits", "dump"});
    ASSERT_EQ(cut.exitStatus, 0) << cut.errors;
    const auto dump = cut.jsonLines().back();
    EXPECT_EQ(creditRows(dump), 50u);
    EXPECT_EQ(dump["rowsLeftOut"], json({{"credits", 49950}, {"links", 30}}));
    EXPECT_FALSE(dumpline::rowLabelled(dump, "L49").is_null());
    EXPECT_TRUE(dumpline::rowLabelled(dump, "L50").is_null());
}
