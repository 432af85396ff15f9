// The host's render and scroll steps and its screen options, through the real executable.
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>

#include "tests/hosts/settings/FixturePane.h"
#include "hosts/settings/CommandLine.h"
#include "platform/uikit/Bitmap.h"
#include "platform/uikit/PngDecoder.h"

using corvale::settingshost::CommandLine;
using corvale::settingshost::HostStep;
using platform::Bitmap;
using platform::RGBA;

namespace {

CommandLine parse(std::vector<std::string_view> arguments) {
    return CommandLine::parse(arguments);
}

std::optional<Bitmap> readPNG(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return platform::PngDecoder::decode(bytes);
}

bool isNear(RGBA pixel, RGBA colour, int tolerance) {
    return std::abs(pixel.r - colour.r) <= tolerance && std::abs(pixel.g - colour.g) <= tolerance &&
           std::abs(pixel.b - colour.b) <= tolerance;
}

long countNear(const Bitmap& image, RGBA colour, int tolerance = 3) {
    long count = 0;
    for (std::uint32_t y = 0; y < image.height(); ++y)
        for (std::uint32_t x = 0; x < image.width(); ++x)
            count += isNear(image.pixelAt(x, y), colour, tolerance) ? 1 : 0;
    return count;
}

double brightness(RGBA pixel) {
    return (pixel.r + pixel.g + pixel.b) / 3.0;
}

// Whether rows [fromA, fromA + count) of `a` equal rows [fromB, fromB + count) of `b`.
bool sameRows(const Bitmap& a, std::uint32_t fromA, const Bitmap& b, std::uint32_t fromB,
              std::uint32_t count) {
    for (std::uint32_t row = 0; row < count; ++row)
        for (std::uint32_t x = 0; x < a.width(); ++x)
            if (!isNear(a.pixelAt(x, fromA + row), b.pixelAt(x, fromB + row), 2))
                return false;
    return true;
}

// The fixture pane's tint (0.7:0.8:0.9), which its switches take when on.
constexpr RGBA switchOn{179, 204, 230, 255};

} // namespace

TEST(SettingsHostCommandLine, ScreenOptionsAndRenderAndScrollSteps) {
    auto commandLine = parse({"--screen", "320x568", "--scale=2", "--size-class", "regular", "render",
                              "a.png", "scroll", "-40.5", "render", "b.png"});
    ASSERT_EQ(commandLine.action, CommandLine::Action::run) << commandLine.usageError;
    EXPECT_EQ(commandLine.screenSize, CGSizeMake(320, 568));
    EXPECT_EQ(commandLine.scale, 2.0);
    EXPECT_EQ(commandLine.sizeClass, platform::SimulatedDevice::SizeClass::Regular);
    ASSERT_EQ(commandLine.steps.size(), 3u);
    EXPECT_EQ(commandLine.steps[0].kind, HostStep::Kind::render);
    EXPECT_EQ(commandLine.steps[0].name, "a.png");
    EXPECT_EQ(commandLine.steps[1].kind, HostStep::Kind::scroll);
    EXPECT_EQ(commandLine.steps[1].value.doubleValue(), -40.5);

    const std::pair<std::vector<std::string_view>, std::string_view> mistakes[] = {
        {{"render"}, "render needs"},
        {{"scroll", "down"}, "down"},
        {{"scroll"}, "scroll needs"},
        {{"--screen", "390", "dump"}, "390"},
        {{"--screen", "0x844", "dump"}, "0x844"},
        {{"--scale", "5", "dump"}, "--scale"},
        {{"--scale", "two", "dump"}, "two"},
        {{"--size-class", "wide", "dump"}, "wide"},
    };
    for (const auto& [arguments, mentions] : mistakes) {
        auto rejected = parse(arguments);
        EXPECT_EQ(rejected.action, CommandLine::Action::reportUsageError) << mentions;
        EXPECT_NE(rejected.usageError.find(mentions), std::string::npos) << rejected.usageError;
    }
}

TEST_F(FixturePane, RenderShowsSwitchStatesCollapsedRowsAndTheAlertOverThePage) {
    auto folder = m_root.path() / "pictures";
    std::filesystem::create_directories(folder);
    auto run = runHost({"--screen", "320x600", "--scale", "2", "tap", "More Options", "render",
                        (folder / "on.png").string(), "set", "subToggle", "false", "render",
                        (folder / "alert.png").string(), "alert", "Not Now", "render",
                        (folder / "off.png").string()});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto on = readPNG(folder / "on.png");
    auto alert = readPNG(folder / "alert.png");
    auto off = readPNG(folder / "off.png");
    ASSERT_TRUE(on && alert && off);
    EXPECT_EQ(on->width(), 640u);
    EXPECT_EQ(on->height(), 1200u);

    // "Sub Toggle" is on, in the pane's tint (a track of about 4,000 pixels at this scale, partly under
    // the bar); "Sub
    // Dependent" is off while shown. Turning the toggle off collapses the dependent row, which must
    // then draw nothing, and leaves no tinted track.
    long onTint = countNear(*on, switchOn), offTint = countNear(*off, switchOn);
    EXPECT_GT(onTint, 1500) << "the on switch takes the pane's tint";
    EXPECT_LT(offTint, 300);

    // The alert dims what is around its card.
    RGBA corner = off->pixelAt(20, 1180), dimmed = alert->pixelAt(20, 1180);
    EXPECT_LT(brightness(dimmed), brightness(corner) - 20);
    // Just inside the card's left edge, beside its texts, the card is lighter than the dimmed page.
    EXPECT_GT(brightness(alert->pixelAt(58, 600)), brightness(dimmed) + 20) << "the card is in the middle";
}

TEST_F(FixturePane, ScrollMovesTheListAsADragWould) {
    auto folder = m_root.path() / "pictures";
    std::filesystem::create_directories(folder);
    auto run =
        runHost({"--screen", "320x700", "--scale", "1", "scroll", "0", "render", (folder / "a.png").string(),
                 "scroll", "120", "render", (folder / "b.png").string(), "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto a = readPNG(folder / "a.png");
    auto b = readPNG(folder / "b.png");
    ASSERT_TRUE(a && b);
    // What was 120 points lower is now at the bottom of the screen.
    EXPECT_TRUE(sameRows(*a, 500, *b, 380, 150));
    EXPECT_FALSE(sameRows(*a, 500, *b, 500, 150));

    auto failed = runHost({"scroll", "10", "render", (m_root.path() / "missing" / "x.png").string()});
    EXPECT_EQ(failed.exitStatus, 1);
    EXPECT_NE(failed.errors.find("render:"), std::string::npos) << failed.errors;
}
