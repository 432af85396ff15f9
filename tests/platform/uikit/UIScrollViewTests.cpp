#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UIScrollView.h"

namespace {

class RecordingDelegate : public UIScrollViewDelegate {
public:
    void scrollViewDidScroll(const std::shared_ptr<UIScrollView>& view) override {
        events.push_back("scroll " + std::to_string(int(view->contentOffset().y)));
    }
    void scrollViewWillBeginDragging(const std::shared_ptr<UIScrollView>&) override {
        events.push_back("begin");
    }
    void scrollViewDidEndDraggingWillDecelerate(const std::shared_ptr<UIScrollView>&,
                                                bool decelerate) override {
        events.push_back(decelerate ? "end decelerating" : "end");
    }
    void scrollViewDidChangeAdjustedContentInset(const std::shared_ptr<UIScrollView>& view) override {
        events.push_back("inset " + std::to_string(int(view->adjustedContentInset().top)));
    }
    std::vector<std::string> events;
};

TEST(UIScrollView, ContentConstrainedToItsEdgesGivesTheContentSize) {
    auto root = std::make_shared<UIView>();
    root->setFrame(CGRectMake(0, 0, 320, 480));
    auto scroller = std::make_shared<UIScrollView>();
    scroller->setFrame(root->bounds());
    scroller->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    root->addSubview(scroller);
    auto content = std::make_shared<UIView>();
    content->setTranslatesAutoresizingMaskIntoConstraints(false);
    scroller->addSubview(content);
    auto height = content->heightAnchor()->constraintEqualToConstant(1000);
    NSLayoutConstraint::activateConstraints(
        {content->leadingAnchor()->constraintEqualToAnchor(scroller->leadingAnchor()),
         content->trailingAnchor()->constraintEqualToAnchor(scroller->trailingAnchor()),
         content->topAnchor()->constraintEqualToAnchor(scroller->topAnchor(), 10),
         content->bottomAnchor()->constraintEqualToAnchor(scroller->bottomAnchor(), -10),
         content->widthAnchor()->constraintEqualToAnchor(scroller->widthAnchor()), height});
    root->layoutIfNeeded();
    EXPECT_EQ(content->frame(), CGRectMake(0, 10, 320, 1000));
    EXPECT_EQ(scroller->contentSize(), CGSizeMake(320, 1020));
    EXPECT_EQ(scroller->frame(), CGRectMake(0, 0, 320, 480)) << "the content never sizes the scroll view";

    height->setConstant(200);
    root->setFrame(CGRectMake(0, 0, 400, 480));
    root->layoutIfNeeded();
    EXPECT_EQ(scroller->contentSize(), CGSizeMake(400, 220));

    // Scrolling keeps the solved frames: only the bounds' origin moves.
    scroller->setContentOffset(CGPointMake(0, 50));
    root->layoutIfNeeded();
    EXPECT_EQ(content->frame(), CGRectMake(0, 10, 400, 200));
    EXPECT_EQ(content->convertPoint(CGPointZero, root), CGPointMake(0, -40));
}

TEST(UIScrollView, TellsItsDelegateAboutScrollingAndInsets) {
    auto scroller = std::make_shared<UIScrollView>();
    scroller->setFrame(CGRectMake(0, 0, 100, 100));
    auto delegate = std::make_shared<RecordingDelegate>();
    scroller->setDelegate(delegate);

    scroller->_dragToContentOffset(CGPointMake(0, 30));
    scroller->setContentOffset(CGPointMake(0, 30)); // unchanged: no callback
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"begin", "scroll 30", "end"}));

    delegate->events.clear();
    scroller->setContentInset(UIEdgeInsetsMake(10, 0, 0, 0));
    scroller->_setSystemContentInset(UIEdgeInsetsMake(64, 0, 0, 0));
    EXPECT_EQ(scroller->adjustedContentInset(), UIEdgeInsetsMake(74, 0, 0, 0));
    scroller->setContentInsetAdjustmentBehavior(UIScrollViewContentInsetAdjustmentNever);
    EXPECT_EQ(scroller->adjustedContentInset(), UIEdgeInsetsMake(10, 0, 0, 0));
    scroller->setContentInset(UIEdgeInsetsMake(10, 0, 0, 0));
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"inset 10", "inset 74", "inset 10"}));

    scroller->setScrollIndicatorInsets(UIEdgeInsetsMake(5, 0, 0, 0));
    EXPECT_EQ(scroller->scrollIndicatorInsets().top, 5);
    scroller->setScrollEnabled(false);
    scroller->_dragToContentOffset(CGPointMake(0, 0));
    EXPECT_EQ(scroller->contentOffset().y, 30);
}

TEST(UIScrollView, ContentAtRestFollowsInsetChangesAndScrolledContentStays) {
    auto scroller = std::make_shared<UIScrollView>();
    scroller->setFrame(CGRectMake(0, 0, 100, 100));
    auto delegate = std::make_shared<RecordingDelegate>();
    scroller->setDelegate(delegate);

    // A page sets its inset and rests at its top before the bars' inset is known.
    scroller->setContentInset(UIEdgeInsetsMake(135, 0, 0, 0));
    EXPECT_EQ(scroller->contentOffset().y, -135);
    scroller->_setSystemContentInset(UIEdgeInsetsMake(64, 0, 0, 0));
    EXPECT_EQ(scroller->contentOffset().y, -199) << "still at rest under the bars";
    EXPECT_EQ(delegate->events,
              (std::vector<std::string>{"scroll -135", "inset 135", "scroll -199", "inset 199"}));

    scroller->_dragToContentOffset(CGPointMake(0, 40));
    scroller->_setSystemContentInset(UIEdgeInsetsMake(20, 0, 0, 0));
    EXPECT_EQ(scroller->contentOffset().y, 40) << "a reader's position is kept";
}

} // namespace
