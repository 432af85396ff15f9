#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/uikit/SimulatedKeyboard.h"
#include "platform/uikit/TouchScreen.h"
#include "platform/uikit/UIEvent.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UITouch.h"
#include "platform/uikit/UIWindow.h"

namespace {

std::shared_ptr<UIView> viewAt(CGRect frame) {
    auto view = std::make_shared<UIView>();
    view->setFrame(frame);
    return view;
}

std::shared_ptr<UIWindow> visibleWindow() {
    auto window = std::make_shared<UIWindow>();
    window->setFrame(CGRectMake(0, 0, 320, 480));
    window->makeKeyAndVisible();
    return window;
}

// Records which control events a control sent, in order.
std::shared_ptr<std::vector<UIControlEvents>> recordEvents(UIControl& control) {
    auto log = std::make_shared<std::vector<UIControlEvents>>();
    for (UIControlEvents event : {UIControlEventTouchDown, UIControlEventTouchUpInside, UIControlEventTouchUpOutside,
                                  UIControlEventValueChanged, UIControlEventEditingDidBegin,
                                  UIControlEventEditingChanged, UIControlEventEditingDidEnd,
                                  UIControlEventEditingDidEndOnExit})
        control.addAction([log, event](const std::shared_ptr<UIControl>&) { log->push_back(event); }, event);
    return log;
}

// A view that says which touch phases reached it.
class TouchLoggingView : public UIView {
public:
    std::vector<std::string> phases;
    void touchesBegan(const UITouchSet&, const std::shared_ptr<UIEvent>&) override { phases.push_back("began"); }
    void touchesEnded(const UITouchSet&, const std::shared_ptr<UIEvent>&) override { phases.push_back("ended"); }
};

TEST(HitTesting, FindsTheDeepestTouchableViewTryingTheTopmostSubviewFirst) {
    auto root = viewAt(CGRectMake(0, 0, 200, 200));
    auto below = viewAt(CGRectMake(0, 0, 100, 100));
    auto above = viewAt(CGRectMake(50, 50, 100, 100));
    auto inner = viewAt(CGRectMake(10, 10, 20, 20));
    root->addSubview(below);
    root->addSubview(above);
    above->addSubview(inner);

    EXPECT_EQ(root->hitTest({70, 70}, nullptr), inner) << "inside the top subview's child";
    EXPECT_EQ(root->hitTest({90, 90}, nullptr), above) << "overlap goes to the subview added last";
    EXPECT_EQ(root->hitTest({20, 20}, nullptr), below);
    EXPECT_EQ(root->hitTest({190, 10}, nullptr), root);
    EXPECT_EQ(root->hitTest({-1, 10}, nullptr), nullptr);
}

TEST(HitTesting, SkipsHiddenFaintNonInteractiveAndOutOfBoundsSubtrees) {
    auto root = viewAt(CGRectMake(0, 0, 200, 200));
    auto cover = viewAt(CGRectMake(0, 0, 200, 200));
    auto child = viewAt(CGRectMake(0, 0, 50, 50));
    root->addSubview(cover);
    cover->addSubview(child);

    cover->setHidden(true);
    EXPECT_EQ(root->hitTest({10, 10}, nullptr), root);
    cover->setHidden(false);
    cover->setUserInteractionEnabled(false);
    EXPECT_EQ(root->hitTest({10, 10}, nullptr), root) << "the child goes with its non-interactive parent";
    cover->setUserInteractionEnabled(true);
    cover->setAlpha(0.009);
    EXPECT_EQ(root->hitTest({10, 10}, nullptr), root);
    cover->setAlpha(0.01);
    EXPECT_EQ(root->hitTest({10, 10}, nullptr), child);

    // A subview reaching outside its superview cannot be hit out there.
    auto small = viewAt(CGRectMake(0, 0, 20, 20));
    auto overhang = viewAt(CGRectMake(0, 0, 100, 100));
    small->addSubview(overhang);
    auto host = viewAt(CGRectMake(0, 0, 300, 300));
    host->addSubview(small);
    EXPECT_EQ(host->hitTest({60, 60}, nullptr), host);
    EXPECT_EQ(host->hitTest({10, 10}, nullptr), overhang);
}

TEST(HitTesting, ConvertsThroughBoundsOriginAndTransform) {
    auto root = viewAt(CGRectMake(0, 0, 200, 200));
    auto scrolled = viewAt(CGRectMake(0, 0, 200, 200));
    scrolled->setBounds(CGRectMake(0, 100, 200, 200));
    auto row = viewAt(CGRectMake(0, 150, 200, 20));
    root->addSubview(scrolled);
    scrolled->addSubview(row);
    EXPECT_EQ(root->hitTest({10, 55}, nullptr), row) << "content scrolled up by 100 points";

    auto scaled = viewAt(CGRectMake(100, 100, 20, 20));
    scaled->setTransform(CGAffineTransformMakeScale(2, 2));
    auto host = viewAt(CGRectMake(0, 0, 300, 300));
    host->addSubview(scaled);
    EXPECT_EQ(host->hitTest({92, 92}, nullptr), scaled) << "the scaled view covers 90...130";
}

TEST(Touches, GoToTheHitViewAndUnhandledOnesTravelUpTheResponderChain) {
    auto window = visibleWindow();
    auto parent = std::make_shared<TouchLoggingView>();
    parent->setFrame(CGRectMake(0, 0, 100, 100));
    auto child = viewAt(CGRectMake(10, 10, 30, 30));
    window->addSubview(parent);
    parent->addSubview(child);

    EXPECT_EQ(platform::TouchScreen::tap(*window, {20, 20}), child);
    EXPECT_EQ(parent->phases, (std::vector<std::string>{"began", "ended"}));
    EXPECT_EQ(child->nextResponder(), parent);
}

TEST(ControlTracking, ATapInsideSendsTouchDownThenTouchUpInside) {
    auto window = visibleWindow();
    auto control = std::make_shared<UIControl>();
    control->setFrame(CGRectMake(10, 10, 100, 40));
    window->addSubview(control);
    auto log = recordEvents(*control);

    platform::TouchScreen::tap(*window, {20, 20});
    EXPECT_EQ(*log, (std::vector<UIControlEvents>{UIControlEventTouchDown, UIControlEventTouchUpInside}));
    EXPECT_FALSE(control->isHighlighted());
    EXPECT_FALSE(control->isTracking());

    log->clear();
    platform::TouchScreen::drag(*window, {20, 20}, {200, 200});
    EXPECT_EQ(log->back(), UIControlEventTouchUpOutside) << "lifted outside";
    EXPECT_EQ(std::count(log->begin(), log->end(), UIControlEventTouchUpInside), 0);
}

TEST(ControlTracking, ADisabledControlSendsNothingAndPassesTheTouchOn) {
    auto window = visibleWindow();
    auto parent = std::make_shared<TouchLoggingView>();
    parent->setFrame(CGRectMake(0, 0, 200, 200));
    auto toggle = std::make_shared<UISwitch>();
    toggle->setFrame(CGRectMake(10, 10, 51, 31));
    toggle->setEnabled(false);
    window->addSubview(parent);
    parent->addSubview(toggle);
    auto log = recordEvents(*toggle);

    platform::TouchScreen::tap(*window, {20, 20});
    EXPECT_FALSE(toggle->isOn());
    EXPECT_TRUE(log->empty());
    EXPECT_EQ(parent->phases, (std::vector<std::string>{"began", "ended"}));
    EXPECT_EQ(toggle->state() & UIControlStateDisabled, UIControlStateDisabled);
}

TEST(ControlTracking, SwitchFlipsOnATapInsideOnly) {
    auto window = visibleWindow();
    auto toggle = std::make_shared<UISwitch>();
    toggle->setFrame(CGRectMake(10, 10, 51, 31));
    window->addSubview(toggle);
    auto log = recordEvents(*toggle);

    platform::TouchScreen::tap(*window, {30, 20});
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(std::count(log->begin(), log->end(), UIControlEventValueChanged), 1);
    platform::TouchScreen::drag(*window, {30, 20}, {300, 300});
    EXPECT_TRUE(toggle->isOn()) << "a touch dragged off the switch leaves it alone";
    platform::TouchScreen::tap(*window, {30, 20});
    EXPECT_FALSE(toggle->isOn());
}

TEST(ControlTracking, SliderFollowsTheFingerAlongItsTrack) {
    auto window = visibleWindow();
    auto slider = std::make_shared<UISlider>();
    slider->setFrame(CGRectMake(0, 0, 228, 40));
    slider->setMinimumValue(10);
    slider->setMaximumValue(20);
    window->addSubview(slider);
    auto log = recordEvents(*slider);

    // The track runs from 14 to 214 (the thumb's centre at either end).
    platform::TouchScreen::tap(*window, {114, 20});
    EXPECT_DOUBLE_EQ(slider->value(), 15);
    EXPECT_EQ(std::count(log->begin(), log->end(), UIControlEventValueChanged), 1);
    platform::TouchScreen::drag(*window, {114, 20}, {500, 20});
    EXPECT_DOUBLE_EQ(slider->value(), 20) << "clamped at the end of the track";

    slider->setContinuous(false);
    log->clear();
    platform::TouchScreen::drag(*window, {214, 20}, {14, 20});
    EXPECT_DOUBLE_EQ(slider->value(), 10);
    EXPECT_EQ(std::count(log->begin(), log->end(), UIControlEventValueChanged), 1) << "once, on lifting";
}

TEST(ControlTracking, SegmentedControlSelectsTheSegmentUnderTheFinger) {
    auto window = visibleWindow();
    auto segments = UISegmentedControl::initWithItems({"One", "Two", "Three"});
    segments->setFrame(CGRectMake(0, 0, 300, 32));
    window->addSubview(segments);
    auto log = recordEvents(*segments);

    platform::TouchScreen::tap(*window, {250, 16});
    EXPECT_EQ(segments->selectedSegmentIndex(), 2);
    platform::TouchScreen::tap(*window, {260, 16});
    EXPECT_EQ(std::count(log->begin(), log->end(), UIControlEventValueChanged), 1)
        << "tapping the selected segment changes nothing";
    platform::TouchScreen::tap(*window, {99, 16});
    EXPECT_EQ(segments->selectedSegmentIndex(), 0);
}

TEST(TextEditing, ATappedFieldTakesTypedTextAndReturnEndsEditing) {
    auto window = visibleWindow();
    auto field = std::make_shared<UITextField>();
    field->setFrame(CGRectMake(0, 0, 200, 30));
    window->addSubview(field);
    auto log = recordEvents(*field);

    EXPECT_FALSE(platform::SimulatedKeyboard::type(*window, "x")) << "no keyboard before a field is tapped";
    platform::TouchScreen::tap(*window, {10, 10});
    EXPECT_TRUE(field->isFirstResponder());
    EXPECT_TRUE(platform::SimulatedKeyboard::isShown(*window));
    platform::SimulatedKeyboard::type(*window, "Café");
    platform::SimulatedKeyboard::deleteBackward(*window);
    EXPECT_EQ(field->text(), "Caf") << "the two-byte character goes as one";
    platform::SimulatedKeyboard::pressReturn(*window);
    EXPECT_FALSE(field->isFirstResponder());
    EXPECT_FALSE(platform::SimulatedKeyboard::isShown(*window));
    EXPECT_EQ(*log, (std::vector<UIControlEvents>{UIControlEventTouchDown, UIControlEventEditingDidBegin,
                                                  UIControlEventTouchUpInside, UIControlEventEditingChanged,
                                                  UIControlEventEditingChanged, UIControlEventEditingDidEndOnExit,
                                                  UIControlEventEditingDidEnd}));

    field->setSecureTextEntry(true);
    EXPECT_EQ(field->displayedText(), "\u2022\u2022\u2022");
}

TEST(TextEditing, AnotherFieldOrLeavingTheWindowEndsEditing) {
    auto window = visibleWindow();
    auto first = std::make_shared<UITextField>();
    first->setFrame(CGRectMake(0, 0, 200, 30));
    auto second = std::make_shared<UITextField>();
    second->setFrame(CGRectMake(0, 50, 200, 30));
    window->addSubview(first);
    window->addSubview(second);
    auto firstLog = recordEvents(*first);

    platform::TouchScreen::tap(*window, {10, 10});
    platform::TouchScreen::tap(*window, {10, 60});
    EXPECT_TRUE(second->isFirstResponder());
    EXPECT_EQ(firstLog->back(), UIControlEventEditingDidEnd);
    second->removeFromSuperview();
    EXPECT_FALSE(platform::SimulatedKeyboard::isShown(*window));

    first->setEnabled(false);
    platform::TouchScreen::tap(*window, {10, 10});
    EXPECT_FALSE(first->isFirstResponder()) << "a disabled field does not start editing";
}

// A data source of one section with three rows of 50 points.
class ThreeRows : public UITableViewDataSource, public UITableViewDelegate {
public:
    std::vector<long> selected;
    long numberOfSectionsInTableView(const std::shared_ptr<UITableView>&) override { return 1; }
    long tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>&, long) override { return 3; }
    std::shared_ptr<UITableViewCell> tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                                    const std::shared_ptr<NSIndexPath>&) override {
        auto cell = std::make_shared<UITableViewCell>();
        cell->initWithStyle(UITableViewCellStyleDefault, "row");
        return cell;
    }
    CGFloat tableViewHeightForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                             const std::shared_ptr<NSIndexPath>&) override {
        return 50;
    }
    void tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                          const std::shared_ptr<NSIndexPath>& indexPath) override {
        selected.push_back(indexPath->row());
    }
};

TEST(TableSelection, ATouchOnARowSelectsItButNotThroughAControlOrAnInertCell) {
    auto window = visibleWindow();
    auto rows = std::make_shared<ThreeRows>();
    auto table = std::make_shared<UITableView>();
    table->setFrame(CGRectMake(0, 0, 320, 480));
    table->setDataSource(rows);
    table->setDelegate(rows);
    window->addSubview(table);
    for (long row = 0; row < 3; ++row)
        table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, 0));
    window->layoutIfNeeded();

    platform::TouchScreen::tap(*window, {100, 75});
    EXPECT_EQ(rows->selected, (std::vector<long>{1}));
    ASSERT_TRUE(table->indexPathForSelectedRow());
    EXPECT_EQ(table->indexPathForSelectedRow()->row(), 1);

    auto toggle = std::make_shared<UISwitch>();
    toggle->setFrame(CGRectMake(250, 10, 51, 31));
    table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(2, 0))->setAccessoryView(toggle);
    window->layoutIfNeeded();
    platform::TouchScreen::tap(*window, {260, 120});
    EXPECT_TRUE(toggle->isOn());
    EXPECT_EQ(rows->selected.size(), 1u) << "the switch took the touch";

    table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0))->setUserInteractionEnabled(false);
    platform::TouchScreen::tap(*window, {100, 25});
    EXPECT_EQ(rows->selected.size(), 1u) << "a cell that takes no touches is not selected";

    platform::TouchScreen::drag(*window, {100, 75}, {100, 125});
    EXPECT_EQ(rows->selected.size(), 1u) << "lifted on another row";

    table->setContentOffset({0, 50});
    platform::TouchScreen::tap(*window, {100, 75});
    EXPECT_EQ(rows->selected.back(), 2) << "scrolled by a row";
}

} // namespace
