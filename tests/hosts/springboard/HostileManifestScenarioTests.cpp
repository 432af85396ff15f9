// The follow prompt when the manifest or its pictures come from a hostile server: SpringBoard must
// show the alert at once, without reading local files and without waiting on pictures for long.
#include <fstream>

#include "tests/hosts/springboard/SpringBoardScenario.h"
#include "tests/support/HostilePictures.h"
#include "tests/support/SilentServer.h"

namespace {

using json = nlohmann::json;

// Far more than any of these runs needs; a host that hangs is killed and fails its test.
constexpr auto hangLimit = std::chrono::seconds(15);

class HostileManifestScenario : public SpringBoardScenario {
protected:
    // The example manifest with its two header pictures replaced.
    void serveHeaderPictures(const std::string& profile, const std::string& app) const {
        auto manifest = json::parse(exampleManifest());
        manifest["header"]["foreground_images"] = {{"profile", profile}, {"app", app}};
        serveManifest(manifest.dump());
    }

    void serveAsset(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
        std::ofstream(m_content / "assets" / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    json presentedAlert() const {
        auto run = runHost(
            {"--os", "14.0", "--installed-schemes", "twitter", "launch", "wait-manifest", "unlock", "dump"},
            hangLimit);
        EXPECT_EQ(run.exitStatus, 0) << run.errors;
        return run.dumps.empty() ? json() : run.dumps.back()["alert"];
    }
};

TEST_F(HostileManifestScenario, HeaderPicturesNeverComeFromLocalFiles) {
    std::filesystem::create_directories(m_root.hostPath("/var"));
    std::filesystem::copy_file(m_content / "assets" / "halcyra-profile.png",
                               m_root.hostPath("/var/picture.png"));
    serveHeaderPictures("file:///var/picture.png", "{server}/credits/asset/corvale-icon.png");
    auto alert = presentedAlert();
    ASSERT_FALSE(alert.is_null());
    EXPECT_TRUE(alert["header"]["avatarPicture"].is_null()) << "a file: URL is not read";
    EXPECT_EQ(alert["header"]["iconPicture"], json::array({96, 96})) << "32 points at 3x";

    storePromptState("HasPromptedForFollowV2", false); // asked once more
    serveHeaderPictures("{server}/credits/asset/halcyra-profile.png", "ftp://127.0.0.1/icon.png");
    alert = presentedAlert();
    ASSERT_FALSE(alert.is_null());
    EXPECT_EQ(alert["header"]["avatarPicture"], json::array({216, 216}));
    EXPECT_TRUE(alert["header"]["iconPicture"].is_null());
}

TEST_F(HostileManifestScenario, AJpegOfHundredsOfScansIsDroppedAndTheAlertShows) {
    serveAsset("scans.jpg", hostilepictures::manyScanGreyJpeg(1024, 1024));
    serveHeaderPictures("{server}/credits/asset/scans.jpg", "{server}/credits/asset/corvale-icon.png");
    auto alert = presentedAlert();
    ASSERT_FALSE(alert.is_null());
    EXPECT_TRUE(alert["header"]["avatarPicture"].is_null());
    EXPECT_EQ(alert["header"]["iconPicture"], json::array({96, 96}));
    EXPECT_EQ(alert["header"]["avatarFrame"], json::array({99.0, 44.0, 72.0, 72.0})) << "the layout is kept";
}

TEST_F(HostileManifestScenario, HeaderPicturesThatNeverAnswerAreAwaitedTogether) {
    SilentServer silent;
    serveHeaderPictures(silent.url("/profile.png"), silent.url("/icon.png"));
    auto alert = presentedAlert();
    silent.finish();
    ASSERT_FALSE(alert.is_null());
    EXPECT_TRUE(alert["header"]["avatarPicture"].is_null());
    EXPECT_TRUE(alert["header"]["iconPicture"].is_null());
    EXPECT_EQ(silent.accepted(), 2u);
    EXPECT_TRUE(silent.overlapped()) << "both pictures are asked for at once";
}

TEST_F(HostileManifestScenario, LongTextsAreCutBeforeTheyAreLaidOut) {
    auto manifest = json::parse(exampleManifest());
    manifest["alert"]["title"] = std::string(10'000, 'T');
    manifest["alert"]["body"] = std::string(200'000, 'b');
    serveManifest(manifest.dump());
    auto alert = presentedAlert();
    ASSERT_FALSE(alert.is_null());
    const std::string ellipsis = "\xE2\x80\xA6";
    EXPECT_EQ(alert["title"], std::string(200, 'T') + ellipsis);
    EXPECT_EQ(alert["body"], std::string(2000, 'b') + ellipsis);
    EXPECT_EQ(alert["footer"]["text"], "We will only ask you this once.");
}

} // namespace
