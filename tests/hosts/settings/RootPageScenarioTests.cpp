#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "tests/hosts/settings/SettingsHostScenario.h"
#include "hosts/devserver/DevServer.h"

namespace {

using corvale::devserver::DevServer;
using corvale::devserver::DevServerOptions;
using nlohmann::json;

const json person = {{"name", "Ada Quill"},
                     {"position", "Lead Developer"},
                     {"services",
                      {{{"service", "twitter"}, {"username", "adaq"}},
                       {{"service", "email"}, {"username", "ada@example.org"}}}}};
const json projectLink = {{"title", "Project page"}, {"url", "https://example.org/project"}};

// A port on 127.0.0.1 that takes connections into its backlog and never answers: requests to it stay
// in flight for the whole run.
class SilentListener {
public:
    SilentListener() {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        if (::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            ::listen(m_socket, 8) == 0 &&
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~SilentListener() { ::close(m_socket); }
    std::string baseURL() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    int m_socket = -1;
    int m_port = 0;
};

class RootPageScenario : public SettingsHostScenario {
protected:
    // Serves these credits for the example pane's tweak, "Corvale", with a request log.
    void serve(const json& credits) {
        const auto content = m_root.path() / "server";
        std::filesystem::create_directories(content / "credits");
        std::ofstream(content / "credits" / "Corvale.json") << credits.dump();
        DevServerOptions options;
        options.contentFolder = content;
        options.requestLog = requestLogFile();
        m_server = std::make_unique<DevServer>(options);
        std::string problem;
        ASSERT_TRUE(m_server->start(0, &problem)) << problem;
    }
    std::filesystem::path requestLogFile() const { return m_root.path() / "requests.log"; }
    std::vector<std::string> requestedPaths() const {
        std::vector<std::string> paths;
        std::ifstream log(requestLogFile());
        for (std::string line; std::getline(log, line);)
            paths.push_back(json::parse(line).at("path").get<std::string>());
        return paths;
    }

    // The host against `server`, waiting for the credits, then the given steps; the last dump line.
    json dumpAfterCredits(const std::string& server, std::vector<std::string> steps = {"dump"},
                          std::vector<std::string> options = {}) {
        std::vector<std::string> arguments{"--credits-server", server, "wait-credits"};
        arguments.insert(arguments.begin(), options.begin(), options.end());
        arguments.insert(arguments.end(), steps.begin(), steps.end());
        auto run = runHost(arguments);
        EXPECT_EQ(run.exitStatus, 0) << run.errors;
        auto lines = run.jsonLines();
        return lines.empty() ? json() : lines.back();
    }

    // The rows after the property list's, as labels (a credit row shows its person's name).
    static std::vector<std::string> creditsArea(const json& dump) {
        std::vector<std::string> shown;
        bool inCredits = false;
        for (const auto& section : dump.at("sections")) {
            const auto& rows = section.at("rows");
            for (const auto& row : rows) {
                if (row.contains("credit"))
                    inCredits = true;
                if (row.at("cell") == "PSSpinnerCell" || row.at("label") == "Couldn't load credits")
                    inCredits = true;
                if (inCredits)
                    shown.push_back(row.contains("credit") ? row["credit"]["name"].get<std::string>()
                                                           : row.at("cell").get<std::string>() + ":" +
                                                                 row.at("label").get<std::string>());
            }
        }
        return shown;
    }

    std::unique_ptr<DevServer> m_server;
};

using Labels = std::vector<std::string>;

} // namespace

TEST_F(RootPageScenario, CreditsAreaStatesAsTheServerAnswers) {
    SilentListener silent;
    auto loading = runHost({"--credits-server", silent.baseURL(), "dump"});
    ASSERT_EQ(loading.exitStatus, 0) << loading.errors;
    EXPECT_EQ(creditsArea(loading.jsonLines().back()), (Labels{"PSSpinnerCell:"}));

    // Nothing listens on port 9 of the loopback interface.
    EXPECT_EQ(creditsArea(dumpAfterCredits("http://127.0.0.1:9")),
              (Labels{"PSStaticTextCell:Couldn't load credits"}));

    serve({{"credits", json::array({person})}});
    auto creditsOnly = dumpAfterCredits(m_server->baseURL());
    EXPECT_EQ(creditsArea(creditsOnly), (Labels{"Ada Quill"}));
    const auto credit = creditsOnly.at("sections").back().at("rows").back().at("credit");
    EXPECT_EQ(credit.at("position"), "LEAD DEVELOPER");
    EXPECT_EQ(credit.at("buttons").size(), 2u);
    EXPECT_EQ(creditsOnly.at("sections").back().at("rows").back().at("height"), 84);
    m_server.reset();

    std::filesystem::remove_all(m_root.path() / "var/mobile/Library/Application Support");
    serve({{"links", json::array({projectLink})}});
    EXPECT_EQ(creditsArea(dumpAfterCredits(m_server->baseURL())), Labels{});
    auto linksOnly = dumpAfterCredits(m_server->baseURL());
    EXPECT_EQ(dumpline::rowLabelled(linksOnly, "Project page").at("cell"), "PSButtonCell");
    EXPECT_TRUE(dumpline::rowLabelled(linksOnly, "Credits").is_null());
}

TEST_F(RootPageScenario, TheFirstRunDownloadsAndCachesTheNextAsksOnlyForTheHash) {
    serve({{"credits", json::array({person})}, {"links", json::array({projectLink})}});
    auto first = dumpAfterCredits(m_server->baseURL());
    EXPECT_EQ(creditsArea(first), (Labels{"Ada Quill", "PSButtonCell:Project page"}));
    EXPECT_EQ(requestedPaths(), (Labels{"/credits/Corvale"}));
    EXPECT_TRUE(std::filesystem::exists(
        m_root.path() /
        "var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences/Corvale.json"));

    m_server.reset();
    serve({{"credits", json::array({person})}, {"links", json::array({projectLink})}});
    auto second = dumpAfterCredits(m_server->baseURL());
    EXPECT_EQ(creditsArea(second), creditsArea(first));
    EXPECT_EQ(requestedPaths(), (Labels{"/credits/Corvale/hash"}));

    // With the server gone, the cached credits stay and the failure changes nothing visible.
    m_server.reset();
    EXPECT_EQ(creditsArea(dumpAfterCredits("http://127.0.0.1:9")), creditsArea(first));
}

TEST_F(RootPageScenario, BrandingKeysAndTheirDefaults) {
    SilentListener silent;
    auto defaults = runHost({"--credits-server", silent.baseURL(), "tap-branding", "dump"});
    ASSERT_EQ(defaults.exitStatus, 0) << defaults.errors;
    auto dump = defaults.jsonLines().back();
    EXPECT_EQ(dump.at("header").at("company"), "Halcyra");
    EXPECT_EQ(dump.at("header").at("height"), 170);
    EXPECT_EQ(dump.at("header").at("topOffset"), 0);
    EXPECT_EQ(dump.at("rightBarButton").at("action"), "openHalcyraWebsite:");
    EXPECT_EQ(dump.at("events").at(0).at("openURL"), "https://halcyra.example/?src=twkprefsnav");
    const std::string footer = dump.at("sections").back().at("footer");
    EXPECT_EQ(footer.rfind("\u00A9 2016-", 0), 0u) << footer;
    EXPECT_EQ(footer.substr(footer.size() - 8), " Halcyra");
    EXPECT_EQ(dump.at("titleView").at("subtitle").get<std::string>().rfind("Version ", 0), 0u);
    EXPECT_EQ(dump.at("bars").at("statusBarStyle"), 1);
    EXPECT_EQ(dump.at("bars").at("translucent"), false);

    writeList("Corvale", list({row({{"cell", "PSGroupCell"}})}, {{"companyName", "Orlan Works"},
                                                                 {"companyCopyrightName", "Orlan Works Ltd"},
                                                                 {"firstCopyrightYear", 3000},
                                                                 {"showsHalcyraBranding", false}}));
    auto branded = runHost({"--credits-server", silent.baseURL(), "dump"});
    ASSERT_EQ(branded.exitStatus, 0) << branded.errors;
    dump = branded.jsonLines().back();
    EXPECT_EQ(dump.at("header").at("company"), "Orlan Works");
    EXPECT_TRUE(dump.at("rightBarButton").is_null());
    const std::string copyright = dump.at("sections").back().at("footer");
    EXPECT_EQ(copyright.find('-'), std::string::npos) << copyright;
    EXPECT_EQ(copyright.substr(copyright.size() - 16), " Orlan Works Ltd");
    auto noButton = runHost({"--credits-server", silent.baseURL(), "tap-branding"});
    EXPECT_EQ(noButton.exitStatus, 1);
}

TEST_F(RootPageScenario, LinkRowsAndServiceButtonsOpenTheirAddresses) {
    serve({{"credits", json::array({person})}, {"links", json::array({projectLink})}});
    auto web = dumpAfterCredits(m_server->baseURL(),
                                {"tap", "Project page", "tap-credit", "Ada Quill", "0", "dump"});
    ASSERT_EQ(web.at("events").size(), 2u) << web.at("events");
    EXPECT_EQ(web["events"][0].at("openURL"), "https://example.org/project");
    EXPECT_EQ(web["events"][1].at("openURL"), "https://twitter.com/intent/follow?screen_name=adaq");

    auto app = dumpAfterCredits(m_server->baseURL(), {"tap-credit", "Ada Quill", "0", "dump"},
                                {"--installed-schemes", "twitterrific,mailto"});
    ASSERT_EQ(app.at("events").size(), 1u);
    EXPECT_EQ(app["events"][0].at("openURL").get<std::string>().rfind("twitterrific:///profile?screen_name=adaq", 0), 0u) << app["events"];

    auto missing =
        runHost({"--credits-server", m_server->baseURL(), "wait-credits", "tap-credit", "Ada Quill", "5"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_NE(missing.errors.find("no button 5"), std::string::npos) << missing.errors;
}
