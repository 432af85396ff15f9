#include <gtest/gtest.h>

#include "settings/credits/KVCorvaleCreditCell.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SimulatedDevice.h"
#include "settings/rootpage/KVCorvaleSettingsNavigationTitleView.h"
#include "tests/settings/engine/PaneFixture.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/DeviceEventLog.h"
#include "platform/uikit/NSAttributedString.h"

namespace {

KVCorvaleSettingsNavigationTitleViewPtr makeTitleView() {
    return KVCorvaleSettingsNavigationTitleView::titleViewWithFrame(CGRect{{0, 0}, {200, 32}});
}

bool isIdentity(const CGAffineTransform& transform) {
    return CGAffineTransformIsIdentity(transform);
}

} // namespace

TEST(NavigationTitleView, StartsInTitleModeAndAppliesTheModeTableEachTime) {
    const auto view = makeTitleView();
    EXPECT_FALSE(view->showingIcon());
    EXPECT_TRUE(view->whiteText());
    EXPECT_EQ(view->_iconImageView()->alpha(), 0);
    EXPECT_TRUE(isIdentity(view->_iconImageView()->transform()));

    // Already in title mode: the animated setter leaves the unmoved icon alone.
    view->setShowingIcon(false, false);
    EXPECT_TRUE(isIdentity(view->_iconImageView()->transform()));
    // The plain setter applies the row even without a change of value.
    view->setShowingIcon(false);
    EXPECT_EQ(view->_iconImageView()->transform().ty, -36);
    EXPECT_EQ(view->_titleStackView()->alpha(), 1);

    view->setShowingIcon(true, false);
    EXPECT_EQ(view->_iconImageView()->alpha(), 1);
    EXPECT_TRUE(isIdentity(view->_iconImageView()->transform()));
    EXPECT_EQ(view->_titleStackView()->alpha(), 0);
    EXPECT_EQ(view->_titleStackView()->transform().ty, 36);
}

TEST(NavigationTitleView, AnimatedSwapRunsOverFifteenHundredthsOfASecond) {
    platform::ScopedManualClock clock;
    const auto view = makeTitleView();
    view->setShowingIcon(true);
    view->setShowingIcon(false, true);
    EXPECT_FALSE(view->showingIcon());
    EXPECT_EQ(view->_titleStackView()->alpha(), 1);
    // On screen the text is still faded out when the swap begins, and halfway there midway.
    EXPECT_NEAR(view->_titleStackView()->layer()->presentationLayer()->opacity(), 0, 0.01);
    clock.clock().advance(0.075);
    const float midway = view->_titleStackView()->layer()->presentationLayer()->opacity();
    EXPECT_GT(midway, 0.05);
    EXPECT_LT(midway, 0.95);
    clock.clock().advance(0.1);
    EXPECT_NEAR(view->_titleStackView()->layer()->presentationLayer()->opacity(), 1, 0.01);
}

TEST(NavigationTitleView, SubtitleHidesOnlyWhenMissingOrEmptyAndColoursFollowWhiteText) {
    const auto view = makeTitleView();
    view->setTitle("");
    EXPECT_FALSE(view->_titleLabel()->isHidden());
    view->setSubtitle(std::nullopt);
    EXPECT_TRUE(view->_subtitleLabel()->isHidden());
    view->setSubtitle("");
    EXPECT_TRUE(view->_subtitleLabel()->isHidden());
    view->setSubtitle(" ");
    EXPECT_FALSE(view->_subtitleLabel()->isHidden());

    view->setWhiteText(false);
    EXPECT_TRUE(view->_titleLabel()->textColor()->isEqual(UIColor::blackColor()));
    EXPECT_TRUE(view->_subtitleLabel()->textColor()->isEqual(UIColor::colorWithWhite(0, 0.5)));
    view->setWhiteText(true);
    EXPECT_TRUE(view->_titleLabel()->textColor()->isEqual(UIColor::whiteColor()));
    EXPECT_TRUE(view->_subtitleLabel()->textColor()->isEqual(UIColor::colorWithWhite(1, 0.5)));
}

// Credit cells are made in a device with the preferences bundle, whose path the rows carry.
class CreditCellTests : public PaneFixture {
protected:
    void SetUp() override {
        PaneFixture::SetUp();
        platform::SimulatedDevice::setInstalledURLSchemes({});
    }

    std::shared_ptr<KVCorvaleCreditCell> makeCell(Value person) {
        auto row =
            PSSpecifier::preferenceSpecifierNamed("", nullptr, "", "", nullptr, PSDefaultCell, nullptr);
        for (const auto& [key, value] : person.asDictionary())
            row->setProperty(value, key);
        row->setProperty(Value(std::string(bundlePath)), "bundlePath");
        auto cell = std::make_shared<KVCorvaleCreditCell>();
        cell->initWithSpecifier(row);
        cell->setFrame(CGRect{{0, 0}, {375, 84}});
        cell->layoutIfNeeded();
        return cell;
    }
};

TEST_F(CreditCellTests, UpperCasesTheRoleInUnicode) {
    EXPECT_EQ(makeCell(Value::dictionary({{"name", "Ada"}, {"position", "développeuse"}}))->position(),
              "DÉVELOPPEUSE");
    EXPECT_EQ(makeCell(Value::dictionary({{"name", "Ada"}, {"position", "Straße"}}))->position(), "STRASSE");
    // Not UTF-8: the ASCII letters are raised and the stray byte is kept.
    EXPECT_EQ(makeCell(Value::dictionary({{"name", "Ada"}, {"position", "qa\xff"}}))->position(), "QA\xff");
}

TEST_F(CreditCellTests, ShowsTheRoleInSmallCapitalsAndARoundPicture) {
    const auto cell = makeCell(Value::dictionary({{"name", "Ada"}, {"position", "lead developer"}}));
    EXPECT_EQ(cell->name(), "Ada");
    EXPECT_EQ(cell->position(), "LEAD DEVELOPER");
    const auto text = cell->positionLabel()->attributedText();
    ASSERT_NE(text, nullptr);
    const auto attributes = text->attributesAtIndex(0);
    EXPECT_EQ(NSAttributedString::numberIn(attributes, NSKernAttributeName, 0), 0.9);
    EXPECT_EQ(NSAttributedString::fontIn(attributes)->pointSize(), 10);

    const CGRect avatar = cell->avatarImageView()->frame();
    EXPECT_EQ(avatar.size.width, 58);
    EXPECT_EQ(avatar.size.height, 58);
    EXPECT_EQ(avatar.origin.y + 29, 42);
    EXPECT_EQ(cell->avatarImageView()->layer()->cornerRadius(), 29);
    EXPECT_EQ(cell->selectionStyle(), UITableViewCellSelectionStyleNone);
}

TEST_F(CreditCellTests, OneButtonPerServiceTwentyPointsSquareTenApartAndTapsOpenTheirOption) {
    const auto cell = makeCell(Value::dictionary(
        {{"name", "Ada"},
         {"services",
          Value::array({Value::dictionary({{"service", "github"}, {"username", "ada"}}),
                        Value::dictionary({{"service", "email"}, {"username", "ada@example.org"}}),
                        Value::dictionary({{"service", "nosuchservice"}, {"username", "x"}})})}}));
    const auto buttons = cell->optionStackView()->arrangedSubviews();
    ASSERT_EQ(buttons.size(), 3u);
    const CGRect first = buttons[0]->frame();
    const CGRect second = buttons[1]->frame();
    EXPECT_EQ(first.size.width, 20);
    EXPECT_EQ(first.size.height, 20);
    EXPECT_EQ(second.origin.x - (first.origin.x + first.size.width), 10);
    EXPECT_EQ(buttons[1]->tag(), 1);
    EXPECT_FALSE(buttons[1]->accessibilityLabel().empty());
    // An unknown service still gets a button, without a label, that opens nothing.
    EXPECT_TRUE(buttons[2]->accessibilityLabel().empty());

    platform::SimulatedDevice::setInstalledURLSchemes({"mailto"});
    platform::DeviceEventLog::shared().take();
    std::dynamic_pointer_cast<UIControl>(buttons[2])
        ->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_TRUE(platform::DeviceEventLog::shared().take().empty());
    std::dynamic_pointer_cast<UIControl>(buttons[1])
        ->sendActionsForControlEvents(UIControlEventTouchUpInside);
    const auto events = platform::DeviceEventLog::shared().take();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]["openURL"].stringValue().rfind("mailto:", 0), 0u) << events[0].description();

    // New options replace every old button.
    cell->setCreditOptions({cell->creditOptions()[0]});
    ASSERT_EQ(cell->optionStackView()->arrangedSubviews().size(), 1u);
    EXPECT_EQ(buttons[1]->superview(), nullptr);
}

TEST_F(CreditCellTests, WithoutServicesTheEmptyScrollerKeepsItsHeight) {
    const auto cell = makeCell(Value::dictionary({{"name", "Ada"}, {"position", "design"}}));
    EXPECT_TRUE(cell->optionStackView()->arrangedSubviews().empty());
    EXPECT_EQ(cell->optionScrollView()->frame().size.height, 20);
    const CGRect labels = cell->nameLabel()->convertRect(cell->nameLabel()->bounds(), cell);
    const CGRect scroller = cell->optionScrollView()->convertRect(cell->optionScrollView()->bounds(), cell);
    EXPECT_EQ(scroller.origin.y, CGRectGetMaxY(labels) + 4);
}

TEST_F(CreditCellTests, PicturesReachThePictureViewOnTheNextTurnOfTheMainQueue) {
    const auto cell = makeCell(Value::dictionary({{"name", "Ada"}}));
    const auto picture = std::make_shared<UIImage>();
    cell->creditsImageManagerDidLoadImage(cell->imageManager(), picture);
    EXPECT_EQ(cell->avatarImageView()->image(), nullptr);
    platform::RunLoop::main().runUntilIdle();
    EXPECT_EQ(cell->avatarImageView()->image(), picture);
    // A nil delivery empties it again.
    cell->creditsImageManagerDidLoadImage(cell->imageManager(), nullptr);
    platform::RunLoop::main().runUntilIdle();
    EXPECT_EQ(cell->avatarImageView()->image(), nullptr);
}
