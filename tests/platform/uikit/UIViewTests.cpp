#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIWindow.h"

namespace {

// Records the callbacks a view receives, tagged with its name.
class RecordingView : public UIView {
public:
    RecordingView(std::string name, std::vector<std::string>& log) : m_name(std::move(name)), m_log(log) {}

    void tintColorDidChange() override { m_log.push_back(m_name + ".tint"); }
    void willMoveToWindow(const std::shared_ptr<UIWindow>& window) override {
        m_log.push_back(m_name + (window ? ".willMoveToWindow" : ".willLeaveWindow"));
    }
    void didMoveToWindow() override {
        m_log.push_back(m_name + (window() ? ".didMoveToWindow" : ".didLeaveWindow"));
    }
    void willMoveToSuperview(const std::shared_ptr<UIView>&) override {
        m_log.push_back(m_name + ".willMoveToSuperview");
    }
    void didMoveToSuperview() override { m_log.push_back(m_name + ".didMoveToSuperview"); }

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

TEST(UIView, TintColorIsInheritedAndChangesReachOnlyInheritingDescendants) {
    std::vector<std::string> log;
    auto root = std::make_shared<RecordingView>("root", log);
    auto middle = std::make_shared<RecordingView>("middle", log);
    auto leaf = std::make_shared<RecordingView>("leaf", log);
    root->addSubview(middle);
    middle->addSubview(leaf);
    EXPECT_EQ(leaf->tintColor(), UIColor::systemBlueColor());

    auto red = UIColor::colorWithRed(1, 0, 0, 1);
    log.clear();
    root->setTintColor(red);
    EXPECT_EQ(leaf->tintColor(), red);
    EXPECT_EQ(log, (std::vector<std::string>{"root.tint", "middle.tint", "leaf.tint"}));

    auto green = UIColor::colorWithRed(0, 1, 0, 1);
    middle->setTintColor(green);
    log.clear();
    root->setTintColor(UIColor::blackColor());
    EXPECT_EQ(log, std::vector<std::string>{"root.tint"})
        << "middle has its own tint, so its subtree is unaffected";
    EXPECT_EQ(leaf->tintColor(), green);

    // Moving a view under another tint tells it; clearing its own tint makes it inherit again.
    log.clear();
    leaf->removeFromSuperview();
    EXPECT_EQ(leaf->tintColor(), UIColor::systemBlueColor());
    EXPECT_NE(std::find(log.begin(), log.end(), "leaf.tint"), log.end());
    middle->setTintColor(nullptr);
    EXPECT_EQ(middle->tintColor(), UIColor::blackColor());
}

TEST(UIView, WindowChangesReachTheWholeSubtreeInPlatformOrder) {
    std::vector<std::string> log;
    auto window = std::make_shared<UIWindow>();
    auto container = std::make_shared<RecordingView>("container", log);
    auto child = std::make_shared<RecordingView>("child", log);
    container->addSubview(child);
    EXPECT_EQ(child->window(), nullptr);
    log.clear();

    window->addSubview(container);
    EXPECT_EQ(child->window(), window);
    EXPECT_EQ(window->window(), window);
    EXPECT_EQ(log, (std::vector<std::string>{"container.willMoveToSuperview", "container.willMoveToWindow",
                                             "child.willMoveToWindow", "child.didMoveToWindow",
                                             "container.didMoveToWindow", "container.didMoveToSuperview"}));

    // Moving within the same window changes superview but not window.
    auto other = std::make_shared<UIView>();
    window->addSubview(other);
    log.clear();
    other->addSubview(child);
    EXPECT_EQ(log, (std::vector<std::string>{"child.willMoveToSuperview", "child.didMoveToSuperview"}));
    EXPECT_TRUE(container->subviews().empty());

    log.clear();
    other->removeFromSuperview();
    EXPECT_EQ(child->window(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"child.willLeaveWindow", "child.didLeaveWindow"}));
}

TEST(UIView, RefusesCyclesAndKeepsOrderOnReAdd) {
    platform::LogCapture capture;
    auto parent = std::make_shared<UIView>();
    auto child = std::make_shared<UIView>();
    auto grandchild = std::make_shared<UIView>();
    parent->addSubview(child);
    child->addSubview(grandchild);
    grandchild->addSubview(parent);
    child->addSubview(child);
    EXPECT_EQ(parent->superview(), nullptr);
    EXPECT_EQ(child->superview(), parent);
    EXPECT_TRUE(capture.contains("cycle"));

    auto sibling = std::make_shared<UIView>();
    sibling->setTag(7);
    parent->addSubview(sibling);
    parent->addSubview(child); // already there: moves to the front
    EXPECT_EQ(parent->subviews().back(), child);
    EXPECT_EQ(parent->subviews().size(), 2u);
    EXPECT_EQ(parent->viewWithTag(7), sibling);
    EXPECT_TRUE(grandchild->isDescendantOfView(parent));
    EXPECT_FALSE(parent->isDescendantOfView(grandchild));
}

} // namespace
