// The example pane's first page as a picture, compared with the committed one. Run with
// CORVALE_UPDATE_SNAPSHOTS=1 to write the picture anew after a deliberate change of the look.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/hosts/settings/SettingsHostScenario.h"
#include "platform/uikit/Bitmap.h"
#include "platform/uikit/PngDecoder.h"

namespace {

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Difference {
    double matchingShare = 0;
    // The bounding box of the pixels that differ beyond the tolerance.
    std::uint32_t left = UINT32_MAX, top = UINT32_MAX, right = 0, bottom = 0;
};

Difference compare(const platform::Bitmap& actual, const platform::Bitmap& expected, int tolerance) {
    Difference difference;
    long matching = 0;
    for (std::uint32_t y = 0; y < actual.height(); ++y)
        for (std::uint32_t x = 0; x < actual.width(); ++x) {
            auto a = actual.pixelAt(x, y), e = expected.pixelAt(x, y);
            bool same = std::abs(a.r - e.r) <= tolerance && std::abs(a.g - e.g) <= tolerance &&
                        std::abs(a.b - e.b) <= tolerance && std::abs(a.a - e.a) <= tolerance;
            if (same) {
                ++matching;
                continue;
            }
            difference.left = std::min(difference.left, x);
            difference.top = std::min(difference.top, y);
            difference.right = std::max(difference.right, x);
            difference.bottom = std::max(difference.bottom, y);
        }
    difference.matchingShare = static_cast<double>(matching) / (double(actual.width()) * actual.height());
    return difference;
}

} // namespace

TEST_F(SettingsHostScenario, ExampleRootPageLooksAsItsSnapshot) {
    const char* fixtures = std::getenv("CORVALE_TEST_FIXTURES");
    ASSERT_NE(fixtures, nullptr);
    auto snapshot = std::filesystem::path(fixtures) / "render" / "settings-root.png";
    auto rendered = m_root.path() / "settings-root.png";
    auto run = runHost({"--os", "14.0", "--scale", "2", "render", rendered.string()});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;

    const char* update = std::getenv("CORVALE_UPDATE_SNAPSHOTS");
    if (update && std::string(update) == "1") {
        std::filesystem::create_directories(snapshot.parent_path());
        std::filesystem::copy_file(rendered, snapshot, std::filesystem::copy_options::overwrite_existing);
        GTEST_SKIP() << "wrote " << snapshot;
    }
    auto actual = platform::PngDecoder::decode(readBytes(rendered));
    auto expected = platform::PngDecoder::decode(readBytes(snapshot));
    ASSERT_TRUE(actual) << "the host wrote no readable PNG";
    ASSERT_TRUE(expected) << "no snapshot at " << snapshot << "; write it with CORVALE_UPDATE_SNAPSHOTS=1";
    ASSERT_EQ(actual->width(), expected->width());
    ASSERT_EQ(actual->height(), expected->height());
    auto difference = compare(*actual, *expected, 8);
    EXPECT_GE(difference.matchingShare, 0.99)
        << "pixels differ between (" << difference.left << ", " << difference.top << ") and ("
        << difference.right << ", " << difference.bottom << "); the new picture is " << rendered;
}
