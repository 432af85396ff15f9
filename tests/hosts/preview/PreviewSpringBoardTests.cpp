// The preview's SpringBoard tab: libmerrow installed beside the pane, the manifest from a dev server
// of the test's own, and SpringBoard driven through the page's actions.
#include <fstream>
#include <string>
#include <thread>

#include "hosts/devserver/DevServer.h"
#include "tests/hosts/preview/RunningPreview.h"
#include "tests/hosts/settings/SettingsHostScenario.h"
#include "tests/support/ProcessRun.h"

namespace {

constexpr const char* promptStateFile =
    "var/mobile/Library/Preferences/dev.orlan.ios.tweak.lib.libmerrow.plist";

class PreviewSpringBoard : public SettingsHostScenario {
protected:
    void SetUp() override {
        SettingsHostScenario::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(ProcessRun::installComponent(CORVALE_CMAKE_COMMAND, CORVALE_BINARY_DIR, "libmerrow",
                                                 m_root.path()));
        corvale::devserver::DevServerOptions options;
        options.contentFolder = PREVIEW_EXAMPLE_SERVER_CONTENT;
        options.requestLog = m_root.path() / "manifest-requests.log";
        m_server = std::make_unique<corvale::devserver::DevServer>(options);
        std::string problem;
        ASSERT_TRUE(m_server->start(0, &problem)) << problem;
        m_preview = std::make_unique<RunningPreview>(
            m_root.path(), std::vector<std::string>{"--installed-schemes", "twitter", "--manifest-server",
                                                    m_server->baseURL()});
        ASSERT_TRUE(m_preview->listening()) << m_preview->whyNotListening();
        m_preview->waitForState([](const nlohmann::json& state) { return state["dump"].is_object(); });
    }

    void TearDown() override {
        if (m_preview && m_preview->listening()) {
            EXPECT_EQ(m_preview->stop(), 0) << m_preview->errors();
        }
        if (m_server)
            m_server->stop();
    }

    nlohmann::json openSpringBoard() {
        EXPECT_EQ(m_preview->act({{"type", "tab"}, {"tab", "springboard"}})["ok"], true);
        return m_preview->waitForState([](const nlohmann::json& state) {
            return state["tab"] == "springboard" && state["dump"].is_object();
        });
    }

    nlohmann::json launchAndUnlock() {
        EXPECT_EQ(m_preview->act({{"type", "launch"}})["ok"], true);
        EXPECT_EQ(m_preview->act({{"type", "unlock"}})["ok"], true);
        return m_preview->waitForState(
            [](const nlohmann::json& state) { return state["dump"]["alert"].is_object(); });
    }

    void expectTheCloudToMoveFrom(const nlohmann::json& shownAlert) {
        auto later = m_preview->waitForState(
            [&](const nlohmann::json& state) { return state["dump"]["alert"] != shownAlert; },
            std::chrono::seconds(5));
        EXPECT_NE(later["dump"]["alert"], shownAlert);
    }

    int manifestRequests() const {
        std::ifstream log(m_root.path() / "manifest-requests.log");
        int count = 0;
        for (std::string line; std::getline(log, line);)
            count += line.find("merrow/manifest.json") != std::string::npos;
        return count;
    }

    std::unique_ptr<corvale::devserver::DevServer> m_server;
    std::unique_ptr<RunningPreview> m_preview;
};

TEST_F(PreviewSpringBoard, LaunchAndUnlockPresentTheFollowAlertFromTheGivenManifestServer) {
    auto state = openSpringBoard();
    ASSERT_EQ(state["tab"], "springboard");
    EXPECT_EQ(state["dump"]["libraries"], nlohmann::json::array({"libmerrow.so"}));
    EXPECT_TRUE(state["dump"]["alert"].is_null());

    state = launchAndUnlock();
    ASSERT_TRUE(state["dump"]["alert"].is_object()) << state.dump();
    EXPECT_EQ(state["dump"]["alert"]["class"], "ZRMerrowAlertController");
    EXPECT_EQ(state["dump"]["manifestHeld"], true);
    EXPECT_EQ(state["dump"]["promptState"]["inMemory"], true);
    EXPECT_GE(manifestRequests(), 1);
    // The screen is SpringBoard's now: a frame exists and is a picture.
    auto frame = m_preview->get("/frame.jpg");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->status, 200);
    EXPECT_TRUE(RunningPreview::decodeFrame(frame->body));
}

TEST_F(PreviewSpringBoard, TheNameCloudKeepsSendingFramesWhileTheAlertIsUp) {
    openSpringBoard();
    launchAndUnlock();
    // The cloud's names move, so later states differ from the first without any action.
    expectTheCloudToMoveFrom(m_preview->state()["dump"]["alert"]);
}

// SpringBoard off the screen is suspended: the cloud it left running no longer wakes the preview to
// draw the Settings app, whose page is at rest, and it moves again once SpringBoard is back.
TEST_F(PreviewSpringBoard, TheCloudOfAHiddenTabStopsUntilItsTabIsBack) {
    openSpringBoard();
    launchAndUnlock();
    EXPECT_EQ(m_preview->act({{"type", "tab"}, {"tab", "settings"}})["ok"], true);
    m_preview->waitForState([](const nlohmann::json& state) { return state["tab"] == "settings"; });
    // Past the names' staggered entrance, whose last timers still end SpringBoard's animations.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    auto drawn = [&] { return nlohmann::json::parse(m_preview->get("/stats")->body)["drawn"].get<int>(); };
    int before = drawn();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // A ticking cloud would have the page drawn at least every tenth of a second.
    EXPECT_LE(drawn() - before, 2);

    expectTheCloudToMoveFrom(openSpringBoard()["dump"]["alert"]);
}

TEST_F(PreviewSpringBoard, ClearPromptStateAndRestartPromptAgain) {
    openSpringBoard();
    launchAndUnlock();
    ASSERT_TRUE(std::filesystem::exists(m_root.path() / promptStateFile));

    // Without clearing, a new SpringBoard remembers the prompt and shows nothing.
    EXPECT_EQ(m_preview->act({{"type", "restart"}})["ok"], true);
    EXPECT_EQ(m_preview->act({{"type", "launch"}})["ok"], true);
    EXPECT_EQ(m_preview->act({{"type", "unlock"}})["ok"], true);
    auto remembered = m_preview->waitForState(
        [](const nlohmann::json& state) { return state["restarts"] == 2 && state["dump"].is_object(); });
    EXPECT_TRUE(remembered["dump"]["alert"].is_null()) << remembered.dump();
    EXPECT_EQ(remembered["dump"]["promptState"]["inMemory"], true);

    EXPECT_EQ(m_preview->act({{"type", "clear-prompt-state"}})["ok"], true);
    EXPECT_FALSE(std::filesystem::exists(m_root.path() / promptStateFile));
    EXPECT_EQ(m_preview->act({{"type", "restart"}})["ok"], true);
    auto cleared = m_preview->waitForState(
        [](const nlohmann::json& state) { return state["restarts"] == 3 && state["dump"].is_object(); });
    EXPECT_EQ(cleared["dump"]["promptState"]["inMemory"], false);
    EXPECT_TRUE(launchAndUnlock()["dump"]["alert"].is_object());
}

TEST_F(PreviewSpringBoard, SwitchingBackShowsTheSettingsAppWhereItWas) {
    auto settings = m_preview->state();
    openSpringBoard();
    launchAndUnlock();
    EXPECT_EQ(m_preview->act({{"type", "tab"}, {"tab", "settings"}})["ok"], true);
    auto back =
        m_preview->waitForState([](const nlohmann::json& state) { return state["tab"] == "settings"; });
    EXPECT_EQ(back["position"], settings["position"]);
    EXPECT_EQ(back["restarts"], settings["restarts"]);
    // Settings' own actions work again; SpringBoard's are not Settings actions.
    EXPECT_EQ(m_preview->act({{"type", "home"}})["ok"], true);
    EXPECT_EQ(m_preview->act({{"type", "launch"}})["ok"], false);
    EXPECT_EQ(m_preview->act({{"type", "tab"}, {"tab", "lock screen"}})["ok"], false);
}

} // namespace
