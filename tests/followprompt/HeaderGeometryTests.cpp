// The header band as presented: the avatar circle centred in the 160-point band, the icon
// overhanging it, the fade mask kept at the band's bounds, and pictures that cannot be had.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "tests/platform/foundation/URLSessionTestServer.h"
#include "followprompt/alert/MerrowImageLoader.h"
#include "followprompt/alert/ZRMerrowAlertHeaderViewController.h"
#include "hosts/devserver/DevServer.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UIWindow.h"
#include "tests/followprompt/FollowPromptTestSupport.h"
#include "tests/support/SilentServer.h"
#include "tests/support/TemporaryDeviceRoot.h"

namespace {

std::string readAsset(const char* name) {
    std::ifstream stream(std::filesystem::path(MERROW_EXAMPLE_ASSETS) / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

// The pictures below are served on loopback, which only a manifest from loopback may name.
struct LoopbackManifestOrigin {
    LoopbackManifestOrigin() { ::setenv("MERROW_MANIFEST_SERVER", "http://127.0.0.1:1", 1); }
    ~LoopbackManifestOrigin() { ::unsetenv("MERROW_MANIFEST_SERVER"); }
};

class HeaderGeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeviceStateGuard::runOS("13.0");
        // The same pictures on the device and on a server: only the server's are ever shown.
        for (const char* folder : {"/images/", "/content/assets/"}) {
            root.writeFile(std::string(folder) + "profile.png", readAsset("halcyra-profile.png"));
            root.writeFile(std::string(folder) + "icon.png", readAsset("corvale-icon.png"));
            root.writeFile(std::string(folder) + "not-a-picture.png", "hello");
        }
        corvale::devserver::DevServerOptions options;
        options.contentFolder = root.hostPath("/content");
        server = std::make_unique<corvale::devserver::DevServer>(options);
        ASSERT_TRUE(server->start(0));
    }
    void TearDown() override {
        if (window)
            window->setHidden(true);
        platform::RunLoop::main().runUntilIdle();
        server->stop();
    }

    std::string served(const std::string& name) const { return server->baseURL() + "/credits/asset/" + name; }

    std::shared_ptr<ZRMerrowAlertHeaderViewController> showHeader(const Value& foregroundImages,
                                                                  CGFloat width = 270) {
        header = std::make_shared<ZRMerrowAlertHeaderViewController>();
        header->initWitHeaderInfo(Value::dictionary(
            {{"background_items", Value::array({backgroundItem("Mira", 1), backgroundItem("Orlan", 3)})},
             {"foreground_images", foregroundImages}}));
        window = std::make_shared<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, width, 140));
        window->setRootViewController(header);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
        return header;
    }

    static CGRect inHeader(const std::shared_ptr<UIView>& view, const std::shared_ptr<UIView>& headerView) {
        return view->convertRect(view->bounds(), headerView);
    }

    DeviceStateGuard device;
    LoopbackManifestOrigin origin;
    TemporaryDeviceRoot root;
    std::unique_ptr<corvale::devserver::DevServer> server;
    platform::ScopedManualClock clock{50};
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<ZRMerrowAlertHeaderViewController> header;
};

TEST_F(HeaderGeometryTest, AvatarCircleCentredWithTheIconOverhanging) {
    showHeader(Value::dictionary({{"profile", served("profile.png")}, {"app", served("icon.png")}}));
    auto view = header->view();
    auto avatar = header->avatarDisplayView()->avatarView();
    auto icon = header->avatarDisplayView()->iconOverlayView();
    ASSERT_NE(avatar->image(), nullptr);
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(icon->image(), nullptr);

    EXPECT_EQ(header->containerView()->frame(), CGRectMake(0, 0, 270, 160)) << "20 points below the view";
    EXPECT_EQ(inHeader(avatar, view), CGRectMake(99, 44, 72, 72)) << "centred in the band";
    EXPECT_EQ(avatar->layer()->cornerRadius(), 36);
    EXPECT_TRUE(avatar->clipsToBounds());
    EXPECT_EQ(avatar->contentMode(), UIViewContentModeScaleAspectFill);
    EXPECT_EQ(inHeader(icon, view), CGRectMake(99 + 72 + 4 - 32, 44 + 72 + 4 - 32, 32, 32));
    EXPECT_EQ(icon->contentMode(), UIViewContentModeScaleAspectFit);
    EXPECT_EQ(icon->layer()->cornerRadius(), 0) << "the icon is not rounded";
    auto shadow = header->avatarDisplayView()->layer();
    EXPECT_FLOAT_EQ(shadow->shadowOpacity(), 0.15f);
    EXPECT_EQ(shadow->shadowRadius(), 12);
    EXPECT_EQ(shadow->shadowOffset().height, 2);

    // The band's names sit behind the avatar group, under a fade mask the size of the band.
    auto background = header->animatedBackgroundView();
    EXPECT_EQ(background->frame(), CGRectMake(0, 0, 270, 160));
    EXPECT_EQ(background->layer()->mask(), header->backgroundMaskLayer());
    EXPECT_EQ(header->backgroundMaskLayer()->frame(), background->bounds());
    EXPECT_EQ(header->backgroundMaskLayer()->locations(), (std::vector<double>{0, 0.25, 0.75, 1}));
    EXPECT_EQ(header->backgroundMaskLayer()->colorAtPosition(0).alpha, 0);
    EXPECT_EQ(header->backgroundMaskLayer()->colorAtPosition(0.5).alpha, 1);
    EXPECT_EQ(background->currentNodes().size(), 9u);

    // Wider: the mask follows on the next pass, the avatar keeps its size and stays centred, and
    // entering a new window replaces the avatar's aspect constraint instead of adding one.
    auto firstAspect = avatar->aspectRatioConstraint();
    auto wider = std::make_shared<UIWindow>();
    wider->initWithFrame(CGRectMake(0, 0, 330, 140));
    wider->addSubview(view);
    view->setFrame(wider->bounds());
    wider->layoutIfNeeded();
    EXPECT_FALSE(firstAspect->isActive());
    EXPECT_TRUE(avatar->aspectRatioConstraint()->isActive());
    EXPECT_EQ(header->backgroundMaskLayer()->frame(), CGRectMake(0, 0, 330, 160));
    EXPECT_EQ(inHeader(avatar, view), CGRectMake(129, 44, 72, 72));
    view->removeFromSuperview();
}

TEST_F(HeaderGeometryTest, MissingOrUnreadablePicturesKeepTheLayout) {
    showHeader(Value::dictionary({{"profile", served("not-a-picture.png")}}));
    auto avatar = header->avatarDisplayView()->avatarView();
    EXPECT_EQ(avatar->image(), nullptr);
    EXPECT_EQ(header->avatarDisplayView()->iconOverlayView(), nullptr) << "no \"app\", no overlay";
    EXPECT_EQ(inHeader(avatar, header->view()), CGRectMake(99, 44, 72, 72));
    window->setHidden(true);

    showHeader(Value::dictionary({{"profile", 7}, {"app", served("missing.png")}}));
    auto icon = header->avatarDisplayView()->iconOverlayView();
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->image(), nullptr);
    EXPECT_EQ(icon->frame().size, CGSizeMake(32, 32));
    EXPECT_EQ(header->avatarDisplayView()->avatarView()->image(), nullptr);
    window->setHidden(true);

    showHeader(Value()); // no "foreground_images" at all
    EXPECT_EQ(inHeader(header->avatarDisplayView()->avatarView(), header->view()),
              CGRectMake(99, 44, 72, 72));
}

TEST_F(HeaderGeometryTest, PicturesComeOnlyFromTheNetworkDecodedAtTheSizeTheyAreShown) {
    // The same files on the device: a manifest must not make SpringBoard read local files.
    showHeader(Value::dictionary(
        {{"profile", "file:///images/profile.png"}, {"app", root.hostPath("/images/icon.png").string()}}));
    EXPECT_EQ(header->avatarDisplayView()->avatarView()->image(), nullptr);
    ASSERT_NE(header->avatarDisplayView()->iconOverlayView(), nullptr);
    EXPECT_EQ(header->avatarDisplayView()->iconOverlayView()->image(), nullptr);
    window->setHidden(true);

    showHeader(Value::dictionary({{"profile", served("profile.png")}, {"app", served("icon.png")}}));
    const double scale = UIScreen::mainScreen()->scale();
    auto avatar = header->avatarDisplayView()->avatarView()->image();
    auto icon = header->avatarDisplayView()->iconOverlayView()->image();
    ASSERT_NE(avatar, nullptr);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(avatar->bitmap()->width(), std::min(216.0, 72 * scale)) << "216 pixels on the server";
    EXPECT_EQ(icon->bitmap()->width(), std::min(96.0, 32 * scale)) << "96 pixels on the server";
    EXPECT_NEAR(avatar->size().width, 216, 1e-9) << "the same size in points as the whole picture";
}

TEST(MerrowImageLoader, PicturesThatNeverArriveAreAwaitedTogether) {
    LoopbackManifestOrigin origin;
    SilentServer server;
    auto images = merrow::loadImagesSynchronously(
        {{Value(server.url("/profile.png")), 72}, {Value(server.url("/icon.png")), 32}},
        std::chrono::milliseconds(300));
    server.finish();
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0], nullptr);
    EXPECT_EQ(images[1], nullptr);
    EXPECT_EQ(server.accepted(), 2u);
    EXPECT_TRUE(server.overlapped()) << "both requests were made at once, not one after the other";
}

TEST(MerrowImageLoader, AServerThatNeverAnswersCostsAtMostTheTimeout) {
    // A listening socket that accepts connections (the kernel does) but never answers.
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    socklen_t length = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/profile.png";

    // The manifest comes from loopback too, so the picture is asked for.
    std::optional<LoopbackManifestOrigin> origin(std::in_place);
    const auto start = std::chrono::steady_clock::now();
    auto image = merrow::loadImageSynchronously(Value(url), std::chrono::milliseconds(300));
    const auto waited = std::chrono::steady_clock::now() - start;
    origin.reset();
    EXPECT_EQ(image, nullptr);
    EXPECT_LT(waited, std::chrono::seconds(5)) << "bounded by the timeout, not by the server";
    ::close(listener);
}

TEST(MerrowImageLoader, OnlyAManifestFromLoopbackMayNameLoopbackPictures) {
    URLSessionTestServer pictures;
    std::atomic<int> requests{0};
    pictures.routes().Get("/profile.png", [&](const httplib::Request&, httplib::Response& response) {
        ++requests;
        response.set_content(readAsset("corvale-icon.png"), "image/png");
    });
    ASSERT_TRUE(pictures.start());
    const Value url(pictures.url("/profile.png"));

    ::setenv("MERROW_MANIFEST_SERVER", "https://manifests.example.org", 1);
    EXPECT_EQ(merrow::loadImageSynchronously(url, std::chrono::seconds(5)), nullptr);
    EXPECT_EQ(requests.load(), 0) << "refused before any connection";

    ::setenv("MERROW_MANIFEST_SERVER", "http://127.0.0.1:1", 1);
    EXPECT_NE(merrow::loadImageSynchronously(url, std::chrono::seconds(5)), nullptr);
    EXPECT_EQ(requests.load(), 1);
    ::unsetenv("MERROW_MANIFEST_SERVER");
}

} // namespace
