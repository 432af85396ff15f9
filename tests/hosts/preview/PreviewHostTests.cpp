// corvale-preview against a device with the pane installed: the page, the frames, touches that reach
// the pane's domain, device options and hot reload, all through its HTTP interface.
#include <atomic>
#include <csignal>
#include <cstdint>
#include <thread>

#include "tests/hosts/preview/RunningPreview.h"
#include "tests/hosts/settings/SettingsHostScenario.h"

namespace {

constexpr const char* exampleDomain = "dev.orlan.ios.tweak.corvale";

nlohmann::json centreOf(const nlohmann::json& frame);

class PreviewHost : public SettingsHostScenario {
protected:
    // Scrolls the first page until "Advanced Options" is on screen and taps it; the state on the
    // pushed page.
    nlohmann::json openAdvancedOptions() {
        EXPECT_EQ(m_preview->act({{"type", "scroll"}, {"by", 400}})["ok"], true);
        auto scrolled = m_preview->waitForState(
            [](const nlohmann::json& state) { return state["dump"]["page"]["contentOffset"] != -199.0; });
        auto row = dumpline::rowLabelled(scrolled["dump"], "Advanced Options");
        auto centre = centreOf(row["frame"]);
        EXPECT_EQ(m_preview->act({{"type", "tap"}, {"x", centre["x"]}, {"y", centre["y"]}})["ok"], true);
        return m_preview->waitForState(
            [](const nlohmann::json& state) { return state["position"] != "prefs:root=Corvale"; });
    }

    void SetUp() override {
        SettingsHostScenario::SetUp();
        if (HasFatalFailure())
            return;
        m_preview = std::make_unique<RunningPreview>(m_root.path());
        ASSERT_TRUE(m_preview->listening()) << m_preview->whyNotListening();
        // The first frame is published before anything else runs.
        m_first =
            m_preview->waitForState([](const nlohmann::json& state) { return state["dump"].is_object(); });
        ASSERT_TRUE(m_first.is_object());
    }

    // Every run ends cleanly: a sanitizer's report or a crash on the way out fails the test.
    void TearDown() override {
        if (m_preview && m_preview->listening()) {
            EXPECT_EQ(m_preview->stop(), 0) << m_preview->errors();
        }
    }

    std::unique_ptr<RunningPreview> m_preview;
    nlohmann::json m_first;
};

// The frame's size in pixels; 0 x 0 when it is no picture.
std::pair<std::uint32_t, std::uint32_t> pixelSize(const std::string& frame) {
    auto picture = RunningPreview::decodeFrame(frame);
    return picture ? std::pair(picture->width(), picture->height()) : std::pair(0u, 0u);
}

nlohmann::json centreOf(const nlohmann::json& frame) {
    return {{"x", frame[0].get<double>() + frame[2].get<double>() / 2},
            {"y", frame[1].get<double>() + frame[3].get<double>() / 2}};
}

nlohmann::json enabledSwitch(const nlohmann::json& state) {
    return dumpline::rowLabelled(state["dump"], "Enabled")["control"];
}

} // namespace

TEST_F(PreviewHost, ServesThePageAndAFrameOfTheScreenAtItsScale) {
    auto page = m_preview->get("/");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->get_header_value("Content-Type").find("text/html"), std::string::npos);
    EXPECT_NE(page->body.find("new EventSource(\"/events?\""), std::string::npos);

    auto frame = m_preview->get("/frame.jpg");
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->status, 200);
    EXPECT_EQ(frame->get_header_value("Content-Type"), "image/jpeg");
    // 390x844 points at 2 pixels per point.
    EXPECT_EQ(pixelSize(frame->body), std::pair(780u, 1688u));
    EXPECT_EQ(m_first["dump"]["page"]["title"], "Corvale");
    EXPECT_EQ(m_first["position"], "prefs:root=Corvale");
}

TEST_F(PreviewHost, AnswersOnlyWithTheTokenAndItsOwnHostName) {
    auto& client = m_preview->client();
    auto port = std::to_string(m_preview->port());
    auto withoutToken = client.Get("/state");
    ASSERT_TRUE(withoutToken);
    EXPECT_EQ(withoutToken->status, 403);
    auto wrongToken = client.Get("/state?token=" + std::string(32, '0'));
    ASSERT_TRUE(wrongToken);
    EXPECT_EQ(wrongToken->status, 403);
    auto token = "/state?token=" + m_preview->token();
    // A page on another name that resolves to 127.0.0.1 sends its own name as Host.
    auto rebound = client.Get(token, {{"Host", "attacker.example:" + port}});
    ASSERT_TRUE(rebound);
    EXPECT_EQ(rebound->status, 403);
    auto otherPort = client.Get(token, {{"Host", "localhost:1"}});
    ASSERT_TRUE(otherPort);
    EXPECT_EQ(otherPort->status, 403);
    auto localhost = client.Get(token, {{"Host", "localhost:" + port}});
    ASSERT_TRUE(localhost);
    EXPECT_EQ(localhost->status, 200);
    auto outside = m_preview->get("/../../etc/passwd");
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->status, 404);
}

TEST_F(PreviewHost, ATapOnTheEnabledSwitchWritesTheDomainAndTheDumpFollows) {
    auto control = enabledSwitch(m_first);
    ASSERT_EQ(control["value"], true);
    auto before = m_preview->get("/frame.jpg")->body;

    auto answer = m_preview->act(
        {{"type", "tap"}, {"x", centreOf(control["frame"])["x"]}, {"y", centreOf(control["frame"])["y"]}});
    EXPECT_EQ(answer, nlohmann::json({{"ok", true}}));
    EXPECT_EQ(readDomain(exampleDomain)["enabled"], Value(false));

    auto after = m_preview->waitForState([](const nlohmann::json& state) {
        return enabledSwitch(state)["value"] == false && state["dump"]["alert"].is_object();
    });
    EXPECT_EQ(enabledSwitch(after)["value"], false);
    EXPECT_EQ(after["dump"]["alert"]["title"], "Respring Required");
    ASSERT_FALSE(after["events"].empty());
    EXPECT_EQ(after["events"].back()["event"],
              nlohmann::json({{"notification", "dev.orlan.ios.tweak.corvale/ReloadPrefs"}}));
    EXPECT_NE(m_preview->get("/frame.jpg")->body, before);

    // The alert is tapped like any view: on a 390x844 screen its two buttons share the row whose
    // middle is at y 477, "Not Now" on the right.
    auto notNow = m_preview->act({{"type", "tap"}, {"x", 262}, {"y", 477}});
    EXPECT_EQ(notNow["ok"], true) << notNow;
    auto answered =
        m_preview->waitForState([](const nlohmann::json& state) { return state["dump"]["alert"].is_null(); });
    EXPECT_TRUE(answered["dump"]["alert"].is_null());
    EXPECT_EQ(enabledSwitch(answered)["value"], false);
    for (const auto& entry : answered["events"])
        EXPECT_FALSE(entry["event"].contains("respring")) << entry;
}

TEST_F(PreviewHost, AFailedActionSaysWhyInWords) {
    auto answer = m_preview->act({{"type", "back"}});
    EXPECT_EQ(answer["ok"], false);
    EXPECT_NE(answer["error"].get<std::string>().find("the first page is on top"), std::string::npos)
        << answer;
    EXPECT_EQ(m_preview->act({{"type", "fly"}})["error"], "unknown action 'fly'");
    auto badOption = m_preview->act({{"type", "device"}, {"os", "12.4"}, {"appearance", "dark"}});
    EXPECT_EQ(badOption["ok"], false);
    EXPECT_NE(badOption["error"].get<std::string>().find("iOS 13"), std::string::npos) << badOption;
}

TEST_F(PreviewHost, TypingGoesToTheTappedFieldAndReturnStoresIt) {
    auto advanced = openAdvancedOptions();
    auto field = dumpline::rowLabelled(advanced["dump"], "Custom Label");
    ASSERT_TRUE(field.is_object()) << advanced["dump"];
    EXPECT_EQ(m_preview->act({{"type", "text"}, {"text", "x"}})["ok"], false)
        << "no field is being edited yet";
    auto centre = centreOf(field["control"]["frame"]);
    ASSERT_EQ(m_preview->act({{"type", "tap"}, {"x", centre["x"]}, {"y", centre["y"]}})["ok"], true);
    EXPECT_EQ(m_preview->waitForState(
                  [](const nlohmann::json& state) { return state["keyboard"] == true; })["keyboard"],
              true);
    for (const char* key : {"H", "i", " ", "?"})
        ASSERT_EQ(m_preview->act({{"type", "text"}, {"text", key}})["ok"], true) << key;
    ASSERT_EQ(m_preview->act({{"type", "delete"}})["ok"], true);
    ASSERT_EQ(m_preview->act({{"type", "text"}, {"text", "!"}})["ok"], true);
    ASSERT_EQ(m_preview->act({{"type", "return"}})["ok"], true);
    EXPECT_EQ(readDomain(exampleDomain)["customLabel"], Value("Hi !"));
    auto done =
        m_preview->waitForState([](const nlohmann::json& state) { return state["keyboard"] == false; });
    EXPECT_EQ(done["keyboard"], false);
    EXPECT_EQ(dumpline::rowLabelled(done["dump"], "Custom Label")["value"], "Hi !");
}

TEST_F(PreviewHost, ADeviceOptionRestartsTheAppOnTheSamePages) {
    auto opened = openAdvancedOptions();
    std::string position = opened["position"];
    ASSERT_NE(position.find("&path="), std::string::npos) << opened["position"];

    auto answer = m_preview->act({{"type", "device"}, {"appearance", "dark"}, {"screen", "428x926"}});
    EXPECT_EQ(answer["ok"], true) << answer;
    auto restarted = m_preview->waitForState(
        [](const nlohmann::json& state) { return state["device"]["appearance"] == "dark"; });
    EXPECT_EQ(restarted["device"]["screen"], "428x926");
    EXPECT_GT(restarted["restarts"].get<int>(), m_first["restarts"].get<int>());
    EXPECT_EQ(restarted["position"], position);
    auto frame = m_preview->get("/frame.jpg")->body;
    EXPECT_EQ(pixelSize(frame), std::pair(856u, 1852u));
}

TEST_F(PreviewHost, ARewrittenListReloadsAndABrokenOneShowsItsLintProblem) {
    writeList("Corvale",
              list({row({{"cell", "PSGroupCell"}, {"label", "Fresh"}}), row({{"cell", "PSSwitchCell"},
                                                                             {"label", "Brand New Row"},
                                                                             {"key", "brandNew"},
                                                                             {"defaults", exampleDomain}})},
                   {{"title", "Corvale"}}));
    auto reloaded = m_preview->waitForState([](const nlohmann::json& state) {
        auto labels = dumpline::labels(state["dump"]);
        return std::find(labels.begin(), labels.end(), "Brand New Row") != labels.end();
    });
    // The pane adds its credits row after the list's own rows.
    EXPECT_EQ(dumpline::labels(reloaded["dump"]).at(0), "Brand New Row");
    EXPECT_EQ(reloaded["position"], "prefs:root=Corvale");

    m_root.writeFile(std::string(bundlePath) + "/Corvale.plist", "<plist><dict><key>items</key>");
    auto broken = m_preview->waitForState([](const nlohmann::json& state) { return !state["lint"].empty(); });
    ASSERT_FALSE(broken["lint"].empty());
    EXPECT_EQ(broken["lint"][0]["plist"], "Corvale.plist");
    EXPECT_EQ(broken["lint"][0]["problem"], "is not a property-list dictionary");
    EXPECT_TRUE(broken["problem"].is_null()) << broken["problem"];
}

TEST_F(PreviewHost, AReloadOnASubPageComesBackToThatPage) {
    auto opened = openAdvancedOptions();
    std::string position = opened["position"];
    ASSERT_EQ(opened["dump"]["page"]["title"], "Advanced") << opened["dump"]["page"];
    writeList("Advanced", list({row({{"cell", "PSSwitchCell"},
                                     {"label", "Added On The Sub-Page"},
                                     {"key", "added"},
                                     {"defaults", exampleDomain}})},
                               {{"title", "Advanced"}}));
    auto reloaded = m_preview->waitForState([](const nlohmann::json& state) {
        return !dumpline::rowLabelled(state["dump"], "Added On The Sub-Page").is_null();
    });
    EXPECT_EQ(dumpline::labels(reloaded["dump"]), std::vector<std::string>{"Added On The Sub-Page"});
    EXPECT_EQ(reloaded["position"], position);
    EXPECT_GT(reloaded["restarts"].get<int>(), opened["restarts"].get<int>());
}

TEST_F(PreviewHost, EveryWatchingTabHearsOfANewFrame) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    auto watch = [&](std::atomic<int>* frames) {
        httplib::Client client("127.0.0.1", m_preview->port());
        client.Get("/events?token=" + m_preview->token(),
                   [frames, deadline](const char* data, std::size_t size) {
                       std::string_view chunk(data, size);
                       for (auto at = chunk.find("data: "); at != std::string_view::npos;
                            at = chunk.find("data: ", at + 1))
                           ++*frames;
                       // The stream's keep-alive comments come every few seconds, so a missing frame ends it
                       // too.
                       return *frames < 2 && std::chrono::steady_clock::now() < deadline;
                   });
    };
    std::atomic<int> first = 0, second = 0;
    std::thread firstTab(watch, &first), secondTab(watch, &second);
    // Each stream starts with the frame on screen, then the one after the tap.
    while ((first < 1 || second < 1) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    auto centre = centreOf(enabledSwitch(m_first)["frame"]);
    ASSERT_EQ(m_preview->act({{"type", "tap"}, {"x", centre["x"]}, {"y", centre["y"]}})["ok"], true);
    firstTab.join();
    secondTab.join();
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 2);
}

TEST_F(PreviewHost, ResettingTheDeviceStateForgetsThePreferencesAndTheCaches) {
    auto control = enabledSwitch(m_first);
    auto centre = centreOf(control["frame"]);
    ASSERT_EQ(m_preview->act({{"type", "tap"}, {"x", centre["x"]}, {"y", centre["y"]}})["ok"], true);
    ASSERT_EQ(readDomain(exampleDomain)["enabled"], Value(false));
    m_root.writeFile("/var/mobile/Library/Caches/leftover", "x");

    ASSERT_EQ(m_preview->act({{"type", "reset"}})["ok"], true);
    EXPECT_TRUE(readDomain(exampleDomain).isNull());
    EXPECT_FALSE(std::filesystem::exists(m_root.hostPath("/var/mobile/Library/Caches/leftover")));
    auto fresh = m_preview->waitForState([](const nlohmann::json& state) {
        return enabledSwitch(state)["value"] == true && state["dump"]["alert"].is_null();
    });
    EXPECT_EQ(enabledSwitch(fresh)["value"], true);
    EXPECT_TRUE(fresh["dump"]["alert"].is_null());
    EXPECT_GT(fresh["restarts"].get<int>(), m_first["restarts"].get<int>());
}

TEST_F(PreviewHost, StopsCleanlyOnSIGTERMWithAStreamOpen) {
    // A browser watching the event stream must not hold the stop up.
    httplib::Client watcher("127.0.0.1", m_preview->port());
    std::thread stream([&] {
        watcher.Get("/events?token=" + m_preview->token(), [](const char*, std::size_t) { return true; });
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(m_preview->stop(), 0) << m_preview->errors();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    stream.join();
}
