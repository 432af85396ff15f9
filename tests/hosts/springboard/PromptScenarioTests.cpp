// The follow prompt on a simulated SpringBoard: libmerrow installed into a device root, loaded by
// the real host through its filter plist, the manifest served by the dev server on 127.0.0.1.
#include "tests/hosts/springboard/SpringBoardScenario.h"

namespace {

using json = nlohmann::json;

const json& promptState(const json& dump) {
    return dump["promptState"];
}

using PromptScenario = SpringBoardScenario;

TEST_F(PromptScenario, FreshDeviceIsPromptedOnceAtTheFirstUnlockAfterTheManifest) {
    auto run =
        runHost({"--os", "13.4", "--installed-schemes", "twitter", "dump", "launch", "wait-manifest", "dump",
                 "unlock", "dump", "unlock", "dump", "restart", "launch", "wait-manifest", "unlock", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 5u);
    EXPECT_EQ(run.dumps[0]["libraries"], json::array({"libmerrow.so"})) << "loaded through its filter";
    EXPECT_FALSE(run.dumps[0]["manifestHeld"]);

    const auto& downloaded = run.dumps[1];
    EXPECT_TRUE(downloaded["manifestHeld"]);
    EXPECT_EQ(downloaded["springBoard"]["launches"], 1) << "SpringBoard's own launch still ran";
    EXPECT_TRUE(downloaded["alert"].is_null()) << "nothing before an unlock";
    EXPECT_EQ(promptState(downloaded)["stored"]["HasPromptedForFollowV2"], nullptr);

    const auto& prompted = run.dumps[2];
    EXPECT_EQ(prompted["springBoard"]["unlocks"], 1);
    EXPECT_EQ(prompted["springBoard"]["lockScreenDismissals"], 1);
    EXPECT_TRUE(promptState(prompted)["inMemory"]);
    EXPECT_EQ(promptState(prompted)["key"], "HasPromptedForFollowV2");
    EXPECT_EQ(promptState(prompted)["stored"]["HasPromptedForFollowV2"], true);
    EXPECT_EQ(promptState(prompted)["stored"]["HasPromptedForFollowV1"], nullptr)
        << "the other key is untouched";
    const auto& alert = prompted["alert"];
    ASSERT_FALSE(alert.is_null());
    EXPECT_EQ(alert["class"], "ZRMerrowAlertController");
    EXPECT_EQ(alert["title"], "Stay in the loop");
    EXPECT_EQ(alert["footer"]["text"], "We will only ask you this once.");
    EXPECT_EQ(alert["actions"][0]["title"], "Follow @halcyra");
    EXPECT_EQ(alert["actions"][1]["title"], "Not now");
    EXPECT_EQ(alert["preferredAction"], "Follow @halcyra");
    EXPECT_TRUE(alert["hasHeader"]);
    EXPECT_EQ(alert["header"]["avatarFrame"], json::array({99.0, 44.0, 72.0, 72.0}));
    EXPECT_EQ(alert["header"]["names"].size(), 9u);
    // Both unlock methods reached the present routine, and it presented once.
    EXPECT_EQ(run.errors.find("Attempt to present"), std::string::npos) << run.errors;
    EXPECT_EQ(run.dumps[3]["alert"], alert) << "a later unlock changes nothing";

    const auto& restarted = run.dumps[4];
    EXPECT_TRUE(promptState(restarted)["inMemory"]) << "read back from the stored state";
    EXPECT_FALSE(restarted["manifestHeld"]) << "no download once prompted";
    EXPECT_TRUE(restarted["alert"].is_null());
    EXPECT_EQ(restarted["springBoard"]["launches"], 1) << "a new process counts afresh";
    EXPECT_EQ(manifestRequests(), 1);
}

TEST_F(PromptScenario, EachReleaseHasItsOwnKey) {
    auto onTwelve = runHost(
        {"--os", "12.4", "--installed-schemes", "twitter", "launch", "wait-manifest", "unlock", "dump"});
    ASSERT_EQ(onTwelve.exitStatus, 0) << onTwelve.errors;
    EXPECT_EQ(promptState(onTwelve.dumps[0])["key"], "HasPromptedForFollowV1");
    EXPECT_EQ(promptState(onTwelve.dumps[0])["stored"]["HasPromptedForFollowV1"], true);
    EXPECT_EQ(promptState(onTwelve.dumps[0])["stored"]["HasPromptedForFollowV2"], nullptr);
    EXPECT_TRUE(onTwelve.dumps[0]["alert"]["hasHeader"]) << "12.0 shows the header";

    // Updated to 13: the V1 value does not count, and the device is asked once more.
    auto onThirteen = runHost({"--os", "13.0", "--installed-schemes", "twitter", "dump", "launch",
                               "wait-manifest", "unlock", "dump"});
    ASSERT_EQ(onThirteen.exitStatus, 0) << onThirteen.errors;
    EXPECT_FALSE(promptState(onThirteen.dumps[0])["inMemory"]);
    EXPECT_FALSE(onThirteen.dumps[1]["alert"].is_null());
    EXPECT_EQ(promptState(onThirteen.dumps[1])["stored"]["HasPromptedForFollowV2"], true);
    EXPECT_EQ(manifestRequests(), 2);
}

TEST_F(PromptScenario, StoredStateDecidesWhetherToDownload) {
    storePromptState("HasPromptedForFollowV2", true);
    auto prompted = runHost(
        {"--os", "14.0", "--installed-schemes", "twitter", "launch", "wait-manifest", "unlock", "dump"});
    ASSERT_EQ(prompted.exitStatus, 0) << prompted.errors;
    EXPECT_TRUE(promptState(prompted.dumps[0])["inMemory"]);
    EXPECT_TRUE(prompted.dumps[0]["alert"].is_null());
    EXPECT_EQ(manifestRequests(), 0) << "no download when already prompted";

    // A stored value whose boolValue is false counts as never prompted.
    storePromptState("HasPromptedForFollowV2", "no");
    auto unprompted = runHost(
        {"--os", "14.0", "--installed-schemes", "twitter", "launch", "wait-manifest", "unlock", "dump"});
    ASSERT_EQ(unprompted.exitStatus, 0) << unprompted.errors;
    EXPECT_FALSE(unprompted.dumps[0]["alert"].is_null());
    EXPECT_EQ(promptState(unprompted.dumps[0])["stored"]["HasPromptedForFollowV2"], true);
}

TEST_F(PromptScenario, AnUnlockBeforeTheManifestRecordsNothing) {
    auto run = runHost({"--os", "13.4", "--installed-schemes", "twitter", "unlock", "dump", "launch",
                        "wait-manifest", "dump", "unlock", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 3u);
    EXPECT_TRUE(run.dumps[0]["alert"].is_null());
    EXPECT_FALSE(promptState(run.dumps[0])["inMemory"]);
    EXPECT_EQ(promptState(run.dumps[0])["stored"]["HasPromptedForFollowV2"], nullptr);
    EXPECT_TRUE(run.dumps[1]["alert"].is_null()) << "the manifest alone presents nothing";
    EXPECT_FALSE(run.dumps[2]["alert"].is_null()) << "the first unlock after it does";
}

TEST_F(PromptScenario, AFailedDisplayCheckUsesUpThePrompt) {
    auto run = runHost({"--os", "13.4", "--installed-schemes", "mailto", "launch", "wait-manifest", "unlock",
                        "dump", "restart", "launch", "wait-manifest", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_TRUE(run.dumps[0]["alert"].is_null()) << "no app opens twitter://";
    EXPECT_EQ(promptState(run.dumps[0])["stored"]["HasPromptedForFollowV2"], true);
    EXPECT_FALSE(run.dumps[1]["manifestHeld"]);
    EXPECT_EQ(manifestRequests(), 1) << "later launches download nothing";
}

TEST_F(PromptScenario, BelowTwelveTheLibraryIsInert) {
    storePromptState("HasPromptedForFollowV1", true);
    auto prompted =
        runHost({"--os", "11.4", "--installed-schemes", "twitter", "launch", "wait-manifest", "dump"});
    ASSERT_EQ(prompted.exitStatus, 0) << prompted.errors;
    EXPECT_TRUE(promptState(prompted.dumps[0])["inMemory"]) << "the state is read on every release";

    storePromptState("HasPromptedForFollowV1", false);
    auto fresh = runHost({"--os", "11.4", "--installed-schemes", "twitter", "launch", "wait-manifest",
                          "unlock", "unlock", "dump"});
    ASSERT_EQ(fresh.exitStatus, 0) << fresh.errors;
    const auto& dump = fresh.dumps[0];
    EXPECT_EQ(dump["springBoard"]["launches"], 1);
    EXPECT_EQ(dump["springBoard"]["unlocks"], 2);
    EXPECT_FALSE(dump["manifestHeld"]);
    EXPECT_TRUE(dump["alert"].is_null());
    EXPECT_EQ(promptState(dump)["stored"]["HasPromptedForFollowV1"], false);
    EXPECT_EQ(manifestRequests(), 0);
}

TEST_F(PromptScenario, ARejectedManifestIsRetriedAtTheNextLaunch) {
    serveManifest(R"({"alert": {"title": "No body", "rejection_title": "Later"}})");
    auto run = runHost({"--os", "13.4", "--installed-schemes", "twitter", "launch", "wait-manifest", "unlock",
                        "dump", "restart", "launch", "wait-manifest", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_FALSE(run.dumps[0]["manifestHeld"]);
    EXPECT_TRUE(run.dumps[0]["alert"].is_null());
    EXPECT_EQ(promptState(run.dumps[0])["stored"]["HasPromptedForFollowV2"], nullptr);
    EXPECT_EQ(manifestRequests(), 2);
}

TEST_F(PromptScenario, TappingTheCallToActionOpensItsLink) {
    auto run = runHost({"--os", "13.4", "--installed-schemes", "twitter", "launch", "wait-manifest", "unlock",
                        "dump", "frames", "30", "dump", "tap", "Follow @halcyra", "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    ASSERT_EQ(run.dumps.size(), 3u);
    // Half a second later every name still in its row has drifted left by 6, 12 or 18 points per
    // second (the first frame only starts the clock).
    const auto& before = run.dumps[0]["alert"]["header"]["names"];
    const auto& after = run.dumps[1]["alert"]["header"]["names"];
    int moved = 0;
    for (const auto& name : after)
        for (const auto& earlier : before)
            if (earlier["row"] == name["row"] && earlier["text"] == name["text"]) {
                const double speed = name["fontSize"] == 16 ? 6 : name["fontSize"] == 13 ? 12 : 18;
                EXPECT_NEAR(earlier["center"][0].get<double>() - name["center"][0].get<double>(),
                            speed * 29 / 60, 1e-6)
                    << name.dump();
                ++moved;
            }
    EXPECT_GE(moved, 5);
    EXPECT_TRUE(run.dumps[2]["alert"].is_null()) << "the alert closes itself";
    ASSERT_EQ(run.dumps[2]["events"].size(), 1u);
    EXPECT_EQ(run.dumps[2]["events"][0]["openURL"], "https://twitter.com/intent/follow?screen_name=halcyra");

    auto nothingToTap = runHost({"tap", "Not now"});
    EXPECT_EQ(nothingToTap.exitStatus, 1);
    EXPECT_NE(nothingToTap.errors.find("no alert"), std::string::npos);
}

TEST_F(PromptScenario, CommandLineMistakesAreUsageErrors) {
    auto help = runHost({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.text.find("wait-manifest"), std::string::npos);
    for (std::vector<std::string> arguments : {std::vector<std::string>{"wiggle"},
                                               {"frames"},
                                               {"frames", "-2"},
                                               {"--os", "eleven", "dump"},
                                               {"--seed", "x", "dump"},
                                               {"--speed", "1"}}) {
        auto run = runHost(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments[0];
        EXPECT_FALSE(run.errors.empty());
    }
}

TEST_F(PromptScenario, DarkAppearanceBeforeIOS13IsAUsageError) {
    for (std::vector<std::string> arguments : {std::vector<std::string>{"--os", "12.4", "--appearance", "dark", "launch"},
                                               {"--appearance=dark", "--os=12.0", "launch"}}) {
        auto run = runHost(arguments);
        EXPECT_EQ(run.exitStatus, 2) << arguments[0];
        EXPECT_NE(run.errors.find("dark appearance needs iOS 13"), std::string::npos) << run.errors;
    }
    EXPECT_EQ(runHost({"--os", "12.4", "--appearance", "light", "launch"}).exitStatus, 0);
    EXPECT_EQ(runHost({"--os", "13.0", "--appearance", "dark", "launch"}).exitStatus, 0);
}

} // namespace
