// Pictures decoded smaller than their files, as they are for pictures from a server, and the
// process-wide budget for decoded pixels.
#include <gtest/gtest.h>

#include <png.h>

#include "tests/platform/uikit/ImageFixtures.h"
#include "tests/support/HostilePictures.h"
#include "platform/uikit/AreaReducer.h"
#include "platform/uikit/DecodedPictureBudget.h"
#include "platform/uikit/ImageDecoder.h"
#include "platform/uikit/UIImage.h"

using platform::Bitmap;
using platform::ImageReduction;
using platform::PixelSize;
using platform::RGBA;

namespace {

// Left half red, right half blue, with a fully transparent green column band in the middle third of
// the rows: the band must lend no green to the averages around it.
RGBA patternColour(std::uint32_t x, std::uint32_t y, std::uint32_t width, std::uint32_t height) {
    if (y >= height / 3 && y < 2 * height / 3 && x % 8 == 0)
        return {0, 255, 0, 0};
    return x < width / 2 ? RGBA{200, 20, 20, 255} : RGBA{20, 20, 200, 255};
}

fixtures::PngRecipe patternPng(std::uint32_t width, std::uint32_t height, bool interlaced) {
    auto recipe = fixtures::pngRecipe(width, height, PNG_COLOR_TYPE_RGBA, 8, interlaced);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            RGBA colour = patternColour(x, y, width, height);
            recipe.rows.insert(recipe.rows.end(), {colour.r, colour.g, colour.b, colour.a});
        }
    return recipe;
}

void expectNear(RGBA actual, RGBA expected, int tolerance) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.a, expected.a, tolerance);
}

} // namespace

TEST(ImageReduction, CoversTheBoxKeepsTheAspectAndNeverEnlarges) {
    auto cover = ImageReduction::toCover(174);
    EXPECT_EQ(cover.reducedSize({216, 216}), (PixelSize{174, 174}));
    EXPECT_EQ(cover.reducedSize({400, 200}), (PixelSize{348, 174})) << "the shorter side fills the box";
    EXPECT_EQ(cover.reducedSize({100, 60}), (PixelSize{100, 60})) << "small pictures stay as they are";
    EXPECT_FALSE(cover.reduces({174, 900}));
    // A very wide picture is bounded by its longer side, and no side falls to zero.
    EXPECT_EQ(cover.reducedSize({16384, 2441}), (PixelSize{1024, 153}));
    EXPECT_EQ(cover.reducedSize({16384, 1}), (PixelSize{1024, 1}));
    EXPECT_EQ((ImageReduction{0, 1024}).reducedSize({4000, 3000}), (PixelSize{1024, 768}));
    EXPECT_FALSE(ImageReduction::none().reduces({16384, 16384}));
}

TEST(AreaReducer, AveragesEachAreaWeightedByAlphaWhateverOrderTheRowsCome) {
    // 4 x 2 to 2 x 1: each output pixel averages a 2 x 2 block.
    auto reducer = platform::AreaReducer::create({4, 2}, {2, 1});
    ASSERT_TRUE(reducer);
    const std::uint8_t bottom[] = {0, 0, 0, 255, 100, 100, 100, 255, 0, 0, 255, 0, 0, 0, 255, 0};
    const std::uint8_t topEvenColumns[] = {200, 0, 0, 255, 255, 0, 0, 255};
    const std::uint8_t topOddColumns[] = {0, 200, 0, 255, 0, 0, 255, 255};
    reducer->addPixels(1, bottom, 4);
    reducer->addPixels(0, topEvenColumns, 2, 0, 2);
    reducer->addPixels(0, topOddColumns, 2, 1, 2);
    reducer->addPixels(7, bottom, 4); // outside: ignored
    auto result = reducer->result();
    ASSERT_TRUE(result);
    ASSERT_EQ(result->width(), 2u);
    EXPECT_EQ(result->pixelAt(0, 0), (RGBA{75, 75, 25, 255}));
    // Two transparent pixels count for the alpha, not for the colour.
    EXPECT_EQ(result->pixelAt(1, 0), (RGBA{128, 0, 128, 128}));

    EXPECT_FALSE(platform::AreaReducer::create({4, 2}, {5, 1})) << "never enlarges";
    EXPECT_FALSE(platform::AreaReducer::create({4, 2}, {0, 1}));
}

TEST(ImageReduction, PngsAreReducedRowByRowInterlacedOrNot) {
    constexpr std::uint32_t width = 301, height = 157;
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "interlaced" : "not interlaced");
        auto bytes = fixtures::writePng(patternPng(width, height, interlaced));
        auto picture = platform::ImageDecoder::decode(bytes, ImageReduction::toCover(40));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->sourceSize, (PixelSize{width, height}));
        ASSERT_EQ(picture->bitmap.width(), 77u);
        ASSERT_EQ(picture->bitmap.height(), 40u);
        expectNear(picture->bitmap.pixelAt(5, 2), {200, 20, 20, 255}, 0);
        expectNear(picture->bitmap.pixelAt(70, 38), {20, 20, 200, 255}, 0);
        // In the band one pixel in eight is transparent green: a little less alpha, no green at all.
        auto banded = picture->bitmap.pixelAt(6, 20);
        EXPECT_EQ(banded.g, 20);
        EXPECT_LT(banded.a, 255);
        EXPECT_GT(banded.a, 150);
    }
    // Unreduced, the decoder gives exactly the full decode.
    auto bytes = fixtures::writePng(patternPng(width, height, true));
    auto whole = platform::ImageDecoder::decode(bytes, ImageReduction::toCover(400));
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->bitmap, *platform::ImageDecoder::decode(bytes));
}

TEST(ImageReduction, JpegsAreScaledWhileDecodingThenAveraged) {
    auto recipe = fixtures::jpegRecipe(640, 480, 3);
    for (std::uint32_t y = 0; y < 480; ++y)
        for (std::uint32_t x = 0; x < 640; ++x)
            recipe.samples.insert(recipe.samples.end(), {std::uint8_t(x < 320 ? 230 : 20), 40, 40});
    for (bool progressive : {false, true}) {
        recipe.progressive = progressive;
        auto picture = platform::ImageDecoder::decode(fixtures::writeJpeg(recipe), ImageReduction::toCover(58));
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->sourceSize, (PixelSize{640, 480}));
        EXPECT_EQ(picture->bitmap.width(), 77u);
        EXPECT_EQ(picture->bitmap.height(), 58u);
        expectNear(picture->bitmap.pixelAt(10, 30), {230, 40, 40, 255}, 6);
        expectNear(picture->bitmap.pixelAt(70, 30), {20, 40, 40, 255}, 6);
    }
}

TEST(UIImage, AReducedImageKeepsItsSizeInPointsAndTheBudgetBoundsWhatIsHeld) {
    auto bytes = hostilepictures::flatGreyPng(4000, 1000);
    auto image = UIImage::imageWithData(bytes, 2, ImageReduction::toCover(100));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->bitmap()->width(), 400u);
    EXPECT_EQ(image->bitmap()->height(), 100u);
    EXPECT_DOUBLE_EQ(image->scale(), 0.2);
    EXPECT_EQ(image->size(), CGSizeMake(2000, 500));
    EXPECT_EQ(image->bitmap()->pixelAt(200, 50), (RGBA{0x80, 0x80, 0x80, 255}));

    auto& budget = platform::DecodedPictureBudget::shared();
    const std::size_t pictureBytes = 400 * 100 * 4;
    const std::size_t before = budget.held();
    ASSERT_GE(before, pictureBytes);
    const std::size_t capacity = budget.capacity();
    budget.setCapacity(before + 3 * pictureBytes);
    std::vector<std::shared_ptr<UIImage>> held;
    for (int index = 0; index < 3; ++index)
        held.push_back(UIImage::imageWithData(bytes, 2, ImageReduction::toCover(100)));
    EXPECT_NE(held.back(), nullptr);
    EXPECT_EQ(UIImage::imageWithData(bytes, 2, ImageReduction::toCover(100)), nullptr) << "past the budget";
    held.pop_back();
    auto again = UIImage::imageWithData(bytes, 2, ImageReduction::toCover(100));
    EXPECT_NE(again, nullptr) << "a released picture gives its bytes back";
    held.clear();
    again.reset();
    image.reset();
    EXPECT_EQ(budget.held(), before - pictureBytes);
    budget.setCapacity(capacity);
}

TEST(AreaReducer, HugeAreasAreAveragedFromEvenlySpreadSamples) {
    // 1000 columns into 1: every 250th column counts (0, 250, 500, 750), whichever way it arrives.
    constexpr std::uint32_t width = 1000;
    std::vector<std::uint8_t> row(width * 4, 0);
    for (std::uint32_t x = 0; x < width; ++x)
        row[x * 4 + 3] = 255;
    for (std::uint32_t x : {0u, 250u, 500u, 750u})
        row[x * 4] = 200;
    row[1 * 4] = 255; // not a sample
    for (bool inPieces : {false, true}) {
        auto reducer = platform::AreaReducer::create({width, 8}, {1, 1});
        ASSERT_TRUE(reducer);
        for (std::uint32_t y = 0; y < 8; ++y) {
            if (!inPieces) {
                reducer->addPixels(y, row.data(), width);
                continue;
            }
            // Odd columns, then even ones.
            std::vector<std::uint8_t> odd, even;
            for (std::uint32_t x = 0; x < width; ++x)
                (x % 2 ? odd : even)
                    .insert((x % 2 ? odd : even).end(), row.begin() + x * 4, row.begin() + x * 4 + 4);
            reducer->addPixels(y, odd.data(), width / 2, 1, 2);
            reducer->addPixels(y, even.data(), width / 2, 0, 2);
        }
        EXPECT_EQ(reducer->result()->pixelAt(0, 0), (RGBA{200, 0, 0, 255})) << inPieces;
    }
}
