#include <gtest/gtest.h>

#include "tests/platform/render/RenderTestSupport.h"
#include "platform/foundation/RunLoop.h"
#include "platform/preferences/PSListController.h"
#include "platform/render/AlertPainter.h"
#include "platform/uikit/GroupedTableLayout.h"
#include "platform/render/ScreenRenderer.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UIWindow.h"

using platform::RGBA;
using platform::render::AlertPainter;
using platform::render::Canvas;
using platform::GroupedTableLayout;
using namespace rendertest;

namespace {

std::shared_ptr<PSSpecifier> row(const std::string& label, PSCellType type,
                                 std::initializer_list<std::pair<const std::string, Value>> properties = {}) {
    auto specifier = PSSpecifier::preferenceSpecifierNamed(label, nullptr, "", "", nullptr, type, nullptr);
    for (const auto& [key, value] : properties)
        specifier->setProperty(value, key);
    return specifier;
}

std::shared_ptr<PSSpecifier> group(const std::string& label, const std::string& footer) {
    auto specifier = PSSpecifier::groupSpecifierWithName(label);
    if (!footer.empty())
        specifier->setProperty(Value(footer), "footerText");
    return specifier;
}

constexpr RGBA switchGreen{52, 199, 89, 255};
constexpr RGBA systemBlue{0, 122, 255, 255};
constexpr RGBA groupedBackground{242, 242, 247, 255};

// A page of every kind of row the list draws, shown in a navigation controller in a 390 x 844 window.
class ListDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        page->setTitle("Rows");
        auto list = std::make_shared<PSSpecifierList>(PSSpecifierList{
            group("General", "A footer under the first card."),
            row("On", PSSwitchCell, {{"value", true}}),
            row("Collapsed", PSSwitchCell, {{"value", true}, {"height", 0.01}}),
            row("Off", PSSwitchCell, {{"value", false}}),
            row("Link", PSLinkCell),
            row("Button", PSButtonCell),
            group("", ""),
            row("Style", PSLinkListCell, {{"value", 1}}),
        });
        list->back()->setValues(Value::array({Value(0), Value(1)}),
                                Value::array({Value("Classic"), Value("Flat")}));
        page->setSpecifiers(list);
        navigation = UINavigationController::initWithRootViewController(page);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        platform::RunLoop::main().runUntilIdle();
        // The list starts below the bars, as a table at its top rests.
        const auto& table = page->table();
        table->setContentOffset({0, -table->adjustedContentInset().top});
    }
    void TearDown() override {
        window->setRootViewController(nullptr);
        platform::RunLoop::main().runUntilIdle();
    }

    const std::vector<GroupedTableLayout::Section>& sections() {
        window->layoutIfNeeded();
        return page->table()->_groupedSections();
    }
    CGRect rowFrame(long section, long row) {
        return page->table()->rectForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section));
    }
    // A rectangle of the table's content in window points.
    CGRect onScreen(CGRect rect) { return page->table()->convertRect(rect, nullptr); }
    Canvas render(double scale = 1) {
        std::string error;
        auto canvas = platform::render::renderWindow(*window, scale, &error);
        EXPECT_TRUE(canvas) << error;
        return canvas ? std::move(*canvas) : std::move(*Canvas::create({1, 1}, 1));
    }

    std::shared_ptr<PSListController> page = std::make_shared<PSListController>();
    std::shared_ptr<UINavigationController> navigation;
    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>();
};

} // namespace

TEST_F(ListDrawing, SectionsAreInsetCardsWithTitlesAndFootersAndCollapsedRowsTakeNoRoom) {
    const auto& list = sections();
    ASSERT_EQ(list.size(), 2u);
    const auto& general = list[0];
    EXPECT_EQ(general.header, "GENERAL");
    EXPECT_EQ(general.card.origin.x, 16);
    EXPECT_EQ(general.card.size.width, 390 - 32);
    EXPECT_EQ(rowFrame(0, 1).size.height, 0) << "the collapsed row takes no room";
    EXPECT_EQ(rowFrame(0, 2).origin.y, rowFrame(0, 0).origin.y + 44);
    EXPECT_EQ(general.card.size.height, 4 * 44);
    EXPECT_LT(general.headerFrame.origin.y, general.card.origin.y);
    EXPECT_GT(general.footerFrame.origin.y, CGRectGetMaxY(general.card));
    EXPECT_FALSE(list[1].header);
    EXPECT_GT(list[1].card.origin.y, CGRectGetMaxY(general.footerFrame));
    EXPECT_GT(page->table()->contentSize().height, CGRectGetMaxY(list[1].card));

    // The cells sit where the cards show them, so touches land on the row that is drawn.
    auto cell = page->table()->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(2, 0));
    EXPECT_TRUE(CGRectEqualToRect(cell->frame(), rowFrame(0, 2)));
    EXPECT_TRUE(page->table()->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0))->isHidden());

    // A regular width keeps the cards narrower than the screen allows.
    EXPECT_GT(GroupedTableLayout::cardInset(1024, true), 16);
    EXPECT_EQ(GroupedTableLayout::cardInset(1024, false), 16);
}

TEST_F(ListDrawing, RowsShowTheirControlsValuesChevronsAndTint) {
    sections();
    auto canvas = render(2);
    auto trailing = [&](CGRect row) {
        CGRect frame = onScreen(row);
        return CGRect{{CGRectGetMaxX(frame) - 80, frame.origin.y}, {80, frame.size.height}};
    };
    auto leading = [&](CGRect row) {
        CGRect frame = onScreen(row);
        return CGRect{frame.origin, {frame.size.width / 2, frame.size.height}};
    };
    CGRect on = rowFrame(0, 0), off = rowFrame(0, 2), link = rowFrame(0, 3), button = rowFrame(0, 4);
    long onTrack = countNear(canvas, trailing(on), switchGreen);
    EXPECT_GT(onTrack, 1500) << "the on switch's track";
    EXPECT_EQ(countNear(canvas, trailing(off), switchGreen), 0) << "the off switch";
    EXPECT_LT(countNear(canvas, {{0, 0}, {390, 844}}, switchGreen), onTrack * 3 / 2)
        << "the collapsed row, on, draws no switch";
    EXPECT_GT(countNear(canvas, trailing(link), {196, 196, 199, 255}, 4), 10) << "the link's chevron";
    EXPECT_EQ(countNear(canvas, trailing(off), {196, 196, 199, 255}, 4), 0);
    EXPECT_GT(countNear(canvas, leading(button), systemBlue, 40), 10) << "the button row's tinted title";
    EXPECT_EQ(countNear(canvas, leading(link), systemBlue, 40), 0);

    // The list row shows its chosen title at the right, before the chevron.
    CGRect valueArea = trailing(rowFrame(1, 0));
    valueArea.size.width -= 30;
    valueArea.origin.x -= 20;
    EXPECT_GT(countNear(canvas, valueArea, white, 40), 0);
    EXPECT_LT(countNear(canvas, valueArea, white, 40),
              long(valueArea.size.width * valueArea.size.height * 4) - 40)
        << "some text in the value area";

    // Card corners are rounded onto the grouped background; separators split the rows.
    CGRect card = onScreen(sections()[0].card);
    EXPECT_TRUE(pixelIs(canvas, {card.origin.x + 0.5, card.origin.y + 0.5}, groupedBackground));
    EXPECT_TRUE(pixelIs(canvas, {card.origin.x + 8, card.origin.y + 8}, white));
    RGBA separator = canvas.pixelAtPoint({card.origin.x + 40, card.origin.y + 44 - 0.2});
    EXPECT_LT(separator.r, 245) << "a hairline between the first two rows";
    EXPECT_TRUE(pixelIs(canvas, {card.origin.x + 8, card.origin.y + 44 - 0.2}, white))
        << "inset from the left";
}

TEST_F(ListDrawing, BarAndAlertDrawOverThePage) {
    auto bar = navigation->navigationBar();
    bar->setBarTintColor(UIColor::redColor());
    bar->setTranslucent(false);
    auto plain = render();
    EXPECT_TRUE(pixelIs(plain, {5, 40}, red)) << "the bar's tint";
    EXPECT_TRUE(pixelIs(plain, {5, 10}, red)) << "reaching up under the status bar";
    EXPECT_GT(countNear(plain, CGRectMake(150, 20, 90, 44), white, 60), 20) << "a light title on a dark bar";

    auto alert =
        UIAlertController::alertControllerWithTitle("Title", "A message", UIAlertControllerStyle::Alert);
    alert->addAction(UIAlertAction::actionWithTitle("One", UIAlertActionStyle::Default, nullptr));
    alert->addAction(UIAlertAction::actionWithTitle("Two", UIAlertActionStyle::Cancel, nullptr));
    page->presentViewController(alert, false, nullptr);
    auto parts = AlertPainter::layout(*alert, {390, 844});
    EXPECT_EQ(parts.card.origin.x, (390 - 270) / 2.0);
    EXPECT_EQ(parts.card.size.width, 270);
    EXPECT_NEAR(CGRectGetMidY(parts.card), 422, 1) << "a card without header content is centred";
    EXPECT_TRUE(parts.buttonsSideBySide);
    EXPECT_GT(parts.messageTop, parts.titleTop);
    EXPECT_NEAR(parts.card.size.height, parts.buttonsTop + 44, 0.01);

    auto withAlert = render();
    RGBA dimmed = withAlert.pixelAtPoint({5, 40}),
         card = withAlert.pixelAtPoint({parts.card.origin.x + 4, 422});
    EXPECT_LT(dimmed.r, 230) << "the screen is dimmed";
    EXPECT_GT(card.r, 230);
    EXPECT_GT(card.g, 230) << "the card is light";
    EXPECT_EQ(AlertPainter::presentedAlert(*window), alert);

    alert->addAction(UIAlertAction::actionWithTitle("Three", UIAlertActionStyle::Destructive, nullptr));
    auto stacked = AlertPainter::layout(*alert, {390, 844});
    EXPECT_FALSE(stacked.buttonsSideBySide);
    EXPECT_NEAR(stacked.card.size.height, stacked.buttonsTop + 3 * 44, 0.01);
    alert->dismissViewControllerAnimated(false, nullptr);

    auto longTitles =
        UIAlertController::alertControllerWithTitle("Title", "A message", UIAlertControllerStyle::Alert);
    longTitles->addAction(
        UIAlertAction::actionWithTitle("Follow the maker's news", UIAlertActionStyle::Default, nullptr));
    longTitles->addAction(UIAlertAction::actionWithTitle("Not now", UIAlertActionStyle::Cancel, nullptr));
    EXPECT_FALSE(AlertPainter::layout(*longTitles, {390, 844}).buttonsSideBySide)
        << "a title too long for half the card stacks the pair instead of being cut short";
}
