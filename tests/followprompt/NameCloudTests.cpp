// The header's band of drifting names, driven frame by frame with the manual clock and a seeded
// random source.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "tests/followprompt/FollowPromptTestSupport.h"
#include "followprompt/alert/ZRMerrowAlertHeaderAnimatedBackgroundView.h"
#include "platform/foundation/ManualClock.h"
#include "platform/foundation/RandomSource.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/UIWindow.h"

namespace {

using Node = ZRMerrowAlertHeaderAnimatedBackgroundNode;
using NodePtr = ZRMerrowAlertHeaderAnimatedBackgroundNodePtr;
using Cloud = ZRMerrowAlertHeaderAnimatedBackgroundView;

constexpr double frameTime = 1.0 / 60;

Value namedItems(int count) {
    Value::Array items;
    for (int index = 0; index < count; ++index)
        items.push_back(backgroundItem("name" + std::to_string(index), 1 + index % 3));
    return Value(items);
}

class NameCloudTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::RunLoop::main().runUntilIdle();
        platform::RandomSource::seed(42);
        DeviceStateGuard::runOS("14.0");
    }
    void TearDown() override {
        if (window)
            window->setHidden(true);
        platform::RunLoop::main().runUntilIdle();
    }

    std::shared_ptr<Cloud> makeCloud(const Value& items, CGRect frame = CGRectMake(0, 0, 270, 160)) {
        auto cloud = std::make_shared<Cloud>();
        cloud->initWithFrame(frame, items);
        return cloud;
    }
    // The cloud in a visible window, laid out once.
    std::shared_ptr<Cloud> showCloud(const Value& items) {
        window = std::make_shared<UIWindow>();
        window->initWithFrame(CGRectMake(0, 0, 270, 160));
        auto cloud = makeCloud(items);
        window->addSubview(cloud);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
        return cloud;
    }
    void frames(int count) {
        for (int frame = 0; frame < count; ++frame) {
            clock.advance(frameTime);
            platform::RunLoop::main().runOnce();
        }
    }
    static std::map<long, std::vector<NodePtr>> byRow(const std::vector<NodePtr>& nodes) {
        std::map<long, std::vector<NodePtr>> rows;
        for (const auto& node : nodes)
            rows[node->tag()].push_back(node);
        return rows;
    }

    DeviceStateGuard device;
    platform::ScopedManualClock clock{100};
    std::shared_ptr<UIWindow> window;
};

TEST_F(NameCloudTest, ProminenceSetsSizeOpacityAndSpeed) {
    struct Expected {
        int prominence;
        double fontSize, alpha, speed;
    };
    for (auto expected : {Expected{1, 16, 0.5, 6}, Expected{2, 13, 1.0, 12}, Expected{3, 11, 1.0, 18}}) {
        auto node = std::make_shared<Node>();
        node->initWithInfo(backgroundItem("Mira", expected.prominence));
        SCOPED_TRACE(expected.prominence);
        EXPECT_EQ(node->text(), "Mira");
        EXPECT_EQ(node->prominence(), static_cast<std::uint64_t>(expected.prominence - 1));
        EXPECT_EQ(node->font()->pointSize(), expected.fontSize);
        double white = -1, alpha = -1;
        node->textColor()->getWhite(&white, &alpha);
        EXPECT_NEAR(white, 0.4, 1e-9);
        EXPECT_DOUBLE_EQ(alpha, expected.alpha);
        EXPECT_DOUBLE_EQ(Node::_speedForProminence(node->prominence()), expected.speed);
    }
    // Out of the table: the largest, faintest style.
    EXPECT_EQ(Node::_fontSizeForProminence(7), 16);
    EXPECT_EQ(Node::_alphaForProminence(7), 0.5);
}

TEST_F(NameCloudTest, UnusableItemsAreLeftOutAndAnEmptyListShowsNothing) {
    Value items = Value::array({
        backgroundItem("kept", 2),
        Value::dictionary({{"name", "no prominence"}}),
        backgroundItem("zero", 0),
        backgroundItem("text prominence", "2"),
        Value::dictionary({{"name", 5}, {"prominence", 1}}),
        Value("not an object"),
    });
    auto cloud = makeCloud(items);
    ASSERT_EQ(cloud->items().size(), 1u);
    EXPECT_EQ(cloud->items()[0]["name"].asString(), "kept");

    for (const Value& empty : {Value::array(), Value(), Value("background")}) {
        auto bare = showCloud(empty);
        EXPECT_EQ(bare->createNode(), nullptr);
        bare->spawnInitialItemsAnimated(true);
        frames(3);
        EXPECT_TRUE(bare->currentNodes().empty());
        EXPECT_TRUE(bare->subviews().empty());
        window->setHidden(true);
    }
}

TEST_F(NameCloudTest, InitialSpawnPutsOneNameInEachRowFromTheFirstItem) {
    auto cloud = makeCloud(namedItems(4));
    cloud->createNode(); // the spawn starts from the first item whatever was used before
    cloud->spawnInitialItemsAnimated(false);
    const auto& nodes = cloud->currentNodes();
    ASSERT_EQ(nodes.size(), 9u);
    for (std::size_t row = 0; row < nodes.size(); ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(nodes[row]->tag(), static_cast<long>(row));
        EXPECT_EQ(nodes[row]->text(), "name" + std::to_string(row % 4)) << "fewer items than rows repeat";
        // Centre half the node's height above the row's centre line (160/9 points apart).
        const double rowCentre = 160.0 / 9 * (static_cast<double>(row) + 0.5);
        EXPECT_NEAR(nodes[row]->center().y, rowCentre - nodes[row]->frame().size.height / 2, 1e-9);
        EXPECT_EQ(nodes[row]->superview(), cloud);
    }
    EXPECT_NEAR(nodes[0]->center().y + nodes[0]->frame().size.height / 2, 80.0 / 9, 1e-9);
    EXPECT_EQ(nodes[0]->center().x, 135) << "the first name is centred";

    // A second spawn replaces the nodes and starts again from the first item.
    const auto first = nodes;
    cloud->spawnInitialItemsAnimated(false);
    EXPECT_EQ(cloud->currentNodes()[0]->text(), "name0");
    EXPECT_EQ(cloud->subviews().size(), 9u);
    EXPECT_EQ(first[0]->superview(), nullptr);
}

TEST_F(NameCloudTest, EachRowTakesTheFarthestOfTenSamples) {
    auto cloud = makeCloud(namedItems(9));
    platform::RandomSource::seed(7);
    cloud->spawnInitialItemsAnimated(false);
    auto nodes = cloud->currentNodes();

    // Replay the same draws: each row's x is the sample farthest from its closest earlier node.
    platform::RandomSource::seed(7);
    for (int sample = 0; sample < Cloud::samplesPerPlacement; ++sample)
        arc4random_uniform(270); // row 0 samples too, though without nodes none can win
    CGFloat previousX = 135;
    for (std::size_t row = 1; row < nodes.size(); ++row) {
        const std::vector<NodePtr> earlier(nodes.begin(), nodes.begin() + static_cast<long>(row));
        double best = 0;
        CGFloat expectedX = previousX;
        for (int sample = 0; sample < Cloud::samplesPerPlacement; ++sample) {
            const CGFloat x = arc4random_uniform(270);
            const double distance =
                cloud->distanceOfClosestNodeForPoint({x, nodes[row]->center().y}, earlier);
            if (distance > best) {
                best = distance;
                expectedX = x;
            }
        }
        EXPECT_EQ(nodes[row]->center().x, expectedX) << "row " << row;
        previousX = expectedX;
    }
}

TEST_F(NameCloudTest, PlacementHelpers) {
    auto cloud = makeCloud(namedItems(2));
    EXPECT_EQ(cloud->distanceOfClosestNodeForPoint({10, 10}, {}), -1);
    EXPECT_EQ(Cloud::monotonicDistanceBetween({1, 2}, {4, 6}), 25) << "squared, no root";

    auto a = cloud->createNode();
    auto b = cloud->createNode();
    a->setCenter({0, 0});
    b->setCenter({100, 0});
    EXPECT_EQ(cloud->distanceOfClosestNodeForPoint({90, 0}, {a, b}), 100);
    // Without nodes no sample can beat 0, and the start point is kept.
    EXPECT_EQ(cloud->findBestPositionForNewNodeSampling({33, 12}, {}).x, 33);
    // A zero-width band draws only x = 0; a sample on the only node's centre never wins.
    auto flat = makeCloud(namedItems(2), CGRectMake(0, 0, 0, 160));
    a->setCenter({0, 12});
    const CGPoint kept = flat->findBestPositionForNewNodeSampling({55, 12}, {a});
    EXPECT_EQ(kept.x, 55);
    EXPECT_EQ(kept.y, 12);
}

TEST_F(NameCloudTest, NamesDriftLeftAndRowsRefillFromTheRight) {
    Value items = Value::array({backgroundItem("slow", 1), backgroundItem("fast", 3)});
    auto cloud = makeCloud(items);
    cloud->spawnInitialItemsAnimated(false);
    auto start = cloud->currentNodes();
    ASSERT_EQ(start.size(), 9u);

    cloud->tick();
    for (std::size_t row = 0; row < start.size(); ++row)
        EXPECT_EQ(cloud->currentNodes()[row]->center(), start[row]->center())
            << "the first frame moves nothing";

    std::vector<CGPoint> before;
    for (const auto& node : start)
        before.push_back(node->center());
    clock.advance(0.5);
    cloud->tick();
    for (std::size_t row = 0; row < start.size(); ++row) {
        const double speed = start[row]->text() == "slow" ? 6 : 18;
        EXPECT_NEAR(start[row]->center().x, before[row].x - 0.5 * speed, 1e-9) << "row " << row;
        EXPECT_EQ(start[row]->center().y, before[row].y);
    }

    // Row 0: put its name so its centre is exactly at 0: the row counts as free and gets a new name
    // entering just beyond the right edge, while the old one stays until its right edge is below 0.
    auto leaving = start[0];
    const double width = leaving->bounds().size.width;
    leaving->setCenter({0, leaving->center().y});
    clock.advance(0); // same time: nothing moves
    cloud->tick();
    auto rows = byRow(cloud->currentNodes());
    ASSERT_EQ(rows[0].size(), 2u);
    auto entering = rows[0][1];
    EXPECT_NEAR(entering->center().x, 270 + entering->bounds().size.width / 2, 1e-9);
    EXPECT_EQ(entering->superview(), cloud);
    EXPECT_EQ(leaving->superview(), cloud);

    // Right edge exactly at 0: stays; below 0: removed from the view and the list.
    leaving->setCenter({-width / 2, leaving->center().y});
    cloud->tick();
    EXPECT_EQ(leaving->superview(), cloud);
    clock.advance(frameTime);
    cloud->tick();
    EXPECT_EQ(leaving->superview(), nullptr);
    EXPECT_EQ(std::count(cloud->currentNodes().begin(), cloud->currentNodes().end(), leaving), 0);
    EXPECT_EQ(byRow(cloud->currentNodes())[0].size(), 1u) << "the row already had its next name";
}

TEST_F(NameCloudTest, LaterNamesContinueThroughTheList) {
    auto cloud = makeCloud(namedItems(12));
    cloud->spawnInitialItemsAnimated(false);
    for (const auto& node : cloud->currentNodes())
        node->setCenter({-500, node->center().y});
    cloud->tick(); // first frame: nothing moves, nothing spawns
    clock.advance(frameTime);
    cloud->tick();
    std::vector<std::string> texts;
    for (const auto& node : cloud->currentNodes())
        texts.push_back(node->text());
    EXPECT_EQ(texts, (std::vector<std::string>{"name9", "name10", "name11", "name0", "name1", "name2",
                                               "name3", "name4", "name5"}));
}

TEST_F(NameCloudTest, AnimatedEntranceGoesFromTheCentreOutwards) {
    auto cloud = makeCloud(namedItems(9));
    cloud->spawnInitialItemsAnimated(true);
    const auto nodes = cloud->currentNodes();
    ASSERT_EQ(nodes.size(), 9u);
    for (const auto& node : nodes) {
        EXPECT_EQ(node->alpha(), 1) << "the model value is the end of the animation";
        EXPECT_EQ(node->layer()->presentationLayer()->opacity(), 0) << "the name starts invisible";
    }
    // Scaled to half while being placed: the row position used the scaled height.
    const double scaledHeight = nodes[4]->bounds().size.height / 2;
    EXPECT_NEAR(nodes[4]->center().y, 160.0 / 9 * 4.5 - scaledHeight / 2, 1e-9);

    auto order = nodes;
    const CGPoint centre{135, 80};
    std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        return Cloud::monotonicDistanceBetween(a->center(), centre) <
               Cloud::monotonicDistanceBetween(b->center(), centre);
    });
    // Each name is fully shown 0.2 s after its turn, turns 0.15 s apart.
    for (std::size_t turn = 0; turn < order.size(); ++turn) {
        SCOPED_TRACE(turn);
        const double start = 100 + 0.15 * static_cast<double>(turn);
        clock.set(start - 0.001);
        EXPECT_EQ(order[turn]->layer()->presentationLayer()->opacity(), 0);
        if (turn + 1 < order.size()) {
            EXPECT_EQ(order[turn + 1]->layer()->presentationLayer()->opacity(), 0);
        }
        clock.set(start + 0.1);
        const float midway = order[turn]->layer()->presentationLayer()->opacity();
        EXPECT_GT(midway, 0);
        EXPECT_LT(midway, 1);
        clock.set(start + 0.2);
        EXPECT_EQ(order[turn]->layer()->presentationLayer()->opacity(), 1);
        EXPECT_TRUE(CGAffineTransformIsIdentity(order[turn]->transform()));
    }
}

TEST_F(NameCloudTest, TheDisplayLinkRunsOnlyInAWindowAndNeverKeepsTheViewAlive) {
    auto cloud = showCloud(namedItems(9));
    ASSERT_EQ(cloud->currentNodes().size(), 9u) << "the first layout spawns";
    auto link = cloud->displayLink();
    EXPECT_TRUE(link->_isScheduled());
    const double x = cloud->currentNodes()[0]->center().x;
    frames(1); // first frame: only records the time
    frames(6);
    EXPECT_NEAR(cloud->currentNodes()[0]->center().x, x - 6 * frameTime * 6, 1e-6);

    cloud->removeFromSuperview();
    EXPECT_FALSE(link->_isScheduled()) << "out of the window, off the run loop";
    const double stopped = cloud->currentNodes()[0]->center().x;
    frames(5);
    EXPECT_EQ(cloud->currentNodes()[0]->center().x, stopped);

    // Back in a window and gone again: nothing holds the view but us.
    window->addSubview(cloud);
    EXPECT_TRUE(link->_isScheduled());
    std::weak_ptr<Cloud> weakCloud = cloud;
    cloud.reset();
    window->subviews().front()->removeFromSuperview();
    EXPECT_TRUE(weakCloud.expired()) << "neither the link nor the run loop keeps the view";
    frames(2);
    EXPECT_FALSE(link->_isScheduled());
}

TEST_F(NameCloudTest, ASizeChangeSpawnsAfresh) {
    auto cloud = showCloud(namedItems(9));
    auto first = cloud->currentNodes();
    window->layoutIfNeeded();
    EXPECT_EQ(cloud->currentNodes(), first) << "same size, same names";
    cloud->setFrame(CGRectMake(0, 0, 300, 160));
    window->layoutIfNeeded();
    EXPECT_NE(cloud->currentNodes(), first);
    EXPECT_EQ(cloud->currentNodes()[0]->center().x, 150);
}

} // namespace
