#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tests/platform/uikit/ImageFixtures.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/SimulatedDevice.h"
#include "tests/support/TemporaryDeviceRoot.h"
#include "platform/uikit/ImageFileName.h"
#include "platform/uikit/PngEncoder.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"

using platform::SimulatedDevice;

namespace {

constexpr std::string_view bundlePath = "/Library/PreferenceBundles/Images.bundle";

std::string pngOfSize(std::uint32_t width, std::uint32_t height) {
    auto bitmap = platform::Bitmap::allocate(width, height);
    bitmap->setPixel(0, 0, {10, 20, 30, 255});
    auto bytes = platform::PngEncoder::encode(*bitmap);
    return std::string(bytes.begin(), bytes.end());
}

std::string jpegOfSize(std::uint32_t width, std::uint32_t height) {
    auto recipe = fixtures::jpegRecipe(width, height, 3);
    recipe.samples.assign(std::size_t{width} * height * 3, 128);
    auto bytes = fixtures::writeJpeg(recipe);
    return std::string(bytes.begin(), bytes.end());
}

// A device root with an images bundle; the screen scale is put back afterwards.
class UIImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousScale = SimulatedDevice::screenScale();
        root.writeFile(std::string(bundlePath) + "/Info.plist",
                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                       "<key>CFBundleIdentifier</key><string>com.example.images</string></dict></plist>\n");
        // Each variant has its own pixel size, so the tests can tell which file was picked.
        addResource("icon.png", pngOfSize(10, 6));
        addResource("icon@2x.png", pngOfSize(20, 12));
        addResource("icon@3x.png", pngOfSize(30, 18));
        addResource("only2x@2x.png", pngOfSize(8, 8));
        addResource("plain.png", pngOfSize(5, 5));
        addResource("ends.png", pngOfSize(7, 7));
        addResource("ends@3x.png", pngOfSize(21, 21));
        addResource("photo.jpg", jpegOfSize(16, 16));
        addResource("broken@3x.png", "\x89PNG\r\n\x1a\n not really");
        addResource("broken@2x.png", pngOfSize(4, 4));
        bundle = NSBundle::bundleWithPath(bundlePath);
        ASSERT_TRUE(bundle);
    }
    void TearDown() override { SimulatedDevice::setScreenScale(m_previousScale); }

    void addResource(const std::string& name, const std::string& contents) {
        root.writeFile(std::string(bundlePath) + "/" + name, contents);
    }

    std::shared_ptr<UIImage> named(std::string_view name, double screenScale) {
        SimulatedDevice::setScreenScale(screenScale);
        return UIImage::imageNamed(name, bundle);
    }

    TemporaryDeviceRoot root;
    std::shared_ptr<NSBundle> bundle;

private:
    double m_previousScale = 3;
};

std::uint32_t pixelWidth(const std::shared_ptr<UIImage>& image) {
    return image && image->bitmap() ? image->bitmap()->width() : 0;
}

} // namespace

TEST_F(UIImageTest, NamedImagesPreferTheScreensScale) {
    auto at3 = named("icon", 3);
    ASSERT_TRUE(at3);
    EXPECT_EQ(pixelWidth(at3), 30u);
    EXPECT_EQ(at3->scale(), 3);
    EXPECT_EQ(at3->size(), CGSizeMake(10, 6));
    EXPECT_EQ(at3->name(), "icon");
    EXPECT_EQ(at3->sourcePath(), std::string(bundlePath) + "/icon@3x.png");

    auto at2 = named("icon", 2);
    ASSERT_TRUE(at2);
    EXPECT_EQ(pixelWidth(at2), 20u);
    EXPECT_EQ(at2->size(), CGSizeMake(10, 6));

    auto at1 = named("icon", 1);
    ASSERT_TRUE(at1);
    EXPECT_EQ(pixelWidth(at1), 10u);
    EXPECT_EQ(at1->scale(), 1);

    // The trait collection's display scale wins over the screen's.
    SimulatedDevice::setScreenScale(3);
    auto forTraits =
        UIImage::imageNamed("icon", bundle, UITraitCollection::traitCollectionWithDisplayScale(2));
    EXPECT_EQ(pixelWidth(forTraits), 20u);
    auto unspecifiedTraits = UIImage::imageNamed("icon", bundle, std::make_shared<UITraitCollection>());
    EXPECT_EQ(pixelWidth(unspecifiedTraits), 30u);

    // A name may carry its type or its scale.
    EXPECT_EQ(pixelWidth(named("icon.png", 3)), 30u);
    EXPECT_EQ(pixelWidth(named("icon@2x", 3)), 20u);
    EXPECT_EQ(pixelWidth(named("icon@2x.png", 1)), 20u);
}

TEST_F(UIImageTest, NamedImagesFallBackToTheNearestScale) {
    auto only2x = named("only2x", 3);
    ASSERT_TRUE(only2x);
    EXPECT_EQ(only2x->scale(), 2);
    EXPECT_EQ(only2x->size(), CGSizeMake(4, 4));
    EXPECT_EQ(named("only2x", 1)->scale(), 2);

    auto plain = named("plain", 3);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->scale(), 1);
    EXPECT_EQ(plain->size(), CGSizeMake(5, 5));

    // 1x and 3x are equally far from 2x: the larger one is scaled down rather than the smaller up.
    EXPECT_EQ(named("ends", 2)->scale(), 3);

    auto photo = named("photo", 3);
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->size(), CGSizeMake(16, 16));

    // A variant that does not decode gives way to the next one.
    auto broken = named("broken", 3);
    ASSERT_TRUE(broken);
    EXPECT_EQ(broken->scale(), 2);

    EXPECT_FALSE(named("missing", 3));
    EXPECT_FALSE(UIImage::imageNamed("icon", nullptr));
    EXPECT_FALSE(UIImage::imageNamed("", bundle));
}

TEST_F(UIImageTest, FilesTakeTheScaleTheirNameAnnounces) {
    root.writeFile("/var/mobile/Media/pic@2x.png", pngOfSize(40, 20));
    root.writeFile("/var/mobile/Media/pic.png", pngOfSize(40, 20));
    root.writeFile("/var/mobile/Media/pic@3x~iphone.png", pngOfSize(30, 30));
    // Named as a JPEG, holds a PNG: the bytes decide.
    root.writeFile("/var/mobile/Media/misnamed.jpg", pngOfSize(3, 3));
    root.writeFile("/var/mobile/Media/garbage@2x.png", "not an image");

    auto twoX = UIImage::imageWithContentsOfFile("/var/mobile/Media/pic@2x.png");
    ASSERT_TRUE(twoX);
    EXPECT_EQ(twoX->scale(), 2);
    EXPECT_EQ(twoX->size(), CGSizeMake(20, 10));
    EXPECT_EQ(twoX->sourcePath(), "/var/mobile/Media/pic@2x.png");
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/var/mobile/Media/pic.png")->scale(), 1);
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/var/mobile/Media/pic@3x~iphone.png")->size(),
              CGSizeMake(10, 10));
    EXPECT_TRUE(UIImage::imageWithContentsOfFile("/var/mobile/Media/misnamed.jpg"));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/var/mobile/Media/garbage@2x.png"));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/var/mobile/Media/absent.png"));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/var/mobile/Media"));
}

TEST(UIImage, DataGivesImagesAtTheRequestedScale) {
    auto bytes = pngOfSize(30, 12);
    auto data = std::make_shared<NSData>(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    auto image = UIImage::imageWithData(data);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 1);
    EXPECT_EQ(image->size(), CGSizeMake(30, 12));
    EXPECT_EQ(image->bitmap()->pixelAt(0, 0), (platform::RGBA{10, 20, 30, 255}));
    EXPECT_EQ(UIImage::imageWithData(data, 3)->size(), CGSizeMake(10, 4));
    for (double nonsense : {0.0, -2.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(UIImage::imageWithData(data, nonsense)->scale(), 1);

    EXPECT_FALSE(UIImage::imageWithData(std::shared_ptr<NSData>()));
    EXPECT_FALSE(UIImage::imageWithData(std::make_shared<NSData>(std::string_view("GIF89a"))));

    // The PNG representation decodes to the same pixels.
    auto again = UIImage::imageWithData(UIImagePNGRepresentation(image));
    ASSERT_TRUE(again);
    EXPECT_EQ(*again->bitmap(), *image->bitmap());
    EXPECT_FALSE(UIImagePNGRepresentation(std::make_shared<UIImage>()));
}

TEST(UIImage, ClassesAreKnownToTheRuntime) {
    for (const char* name : {"UIImage", "UIScreen", "UITraitCollection"}) {
        Class cls = objc_getClass(name);
        ASSERT_NE(cls, nullptr) << name;
        EXPECT_EQ(class_getSuperclass(cls), objc_getClass("NSObject")) << name;
        auto instance = class_createInstance(cls);
        ASSERT_TRUE(instance) << name;
        EXPECT_STREQ(instance->className(), name);
    }
    auto image = std::dynamic_pointer_cast<UIImage>(class_createInstance(objc_getClass("UIImage")));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), CGSizeZero);
    EXPECT_FALSE(image->bitmap());
    EXPECT_STREQ(UIScreen::mainScreen()->className(), "UIScreen");
}

TEST(ImageFileName, ScaleSuffixesAreReadFromTheFileNameOnly) {
    using platform::ImageFileName;
    EXPECT_EQ(ImageFileName::scaleFromPath("/a/b/icon@2x.png"), 2);
    EXPECT_EQ(ImageFileName::scaleFromPath("icon@3x"), 3);
    EXPECT_EQ(ImageFileName::scaleFromPath("icon@3x~ipad.PNG"), 3);
    EXPECT_EQ(ImageFileName::scaleFromPath("/x@2x/icon.png"), 1);
    EXPECT_EQ(ImageFileName::scaleFromPath("icon@2x.gif"), 1); // not an image type we read
    EXPECT_EQ(ImageFileName::scaleFromPath("@2x.png"), 1);
    EXPECT_EQ(ImageFileName::scaleFromPath("icon@0x.png"), 1);

    auto names = [](std::string_view name, double scale) {
        std::vector<std::string> files;
        for (const auto& variant : ImageFileName::variantsForName(name, scale))
            files.push_back(variant.resourceName + "." + variant.type);
        return files;
    };
    EXPECT_EQ(names("a.png", 3), (std::vector<std::string>{"a@3x.png", "a@2x.png", "a.png"}));
    EXPECT_EQ(names("a.png", 1), (std::vector<std::string>{"a.png", "a@2x.png", "a@3x.png"}));
    EXPECT_EQ(names("a", 2).front(), "a@2x.png");
    EXPECT_EQ(names("a", 2).size(), 9u);
    EXPECT_EQ(names("a@3x", 1), (std::vector<std::string>{"a@3x.png", "a@3x.jpg", "a@3x.jpeg"}));
}
