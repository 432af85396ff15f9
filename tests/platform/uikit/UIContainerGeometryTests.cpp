#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UIWindow.h"

namespace {

class HeaderPage : public UIViewController {
public:
    void viewDidLoad() override {
        header = std::make_shared<UIView>();
        header->setTranslatesAutoresizingMaskIntoConstraints(false);
        view()->addSubview(header);
        headerTop = header->topAnchor()->constraintEqualToAnchor(topLayoutGuide()->bottomAnchor());
        NSLayoutConstraint::activateConstraints(
            {headerTop, header->leadingAnchor()->constraintEqualToAnchor(view()->leadingAnchor()),
             header->trailingAnchor()->constraintEqualToAnchor(view()->trailingAnchor()),
             header->heightAnchor()->constraintEqualToConstant(170)});
    }
    std::shared_ptr<UIView> header;
    NSLayoutConstraintPtr headerTop;
};

TEST(UIContainerGeometry, PagesOfANavigationControllerStartBelowTheBars) {
    auto window = std::make_shared<UIWindow>();
    window->initWithFrame(CGRectMake(0, 0, 375, 667));
    auto page = std::make_shared<HeaderPage>();
    auto navigation = UINavigationController::initWithRootViewController(page);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    EXPECT_EQ(page->view()->frame(), CGRectMake(0, 0, 375, 667));
    EXPECT_EQ(page->view()->safeAreaInsets().top, 64);
    EXPECT_EQ(page->topLayoutGuide()->layoutFrame(), CGRectMake(0, 0, 375, 64));
    EXPECT_EQ(page->header->frame(), CGRectMake(0, 64, 375, 170));

    // Pulling the header down: its top constraint's constant follows the scroll.
    page->headerTop->setConstant(-50);
    window->layoutIfNeeded();
    EXPECT_EQ(page->header->frame().origin.y, 14);

    navigation->setNavigationBarHidden(true, false);
    window->layoutIfNeeded();
    EXPECT_EQ(page->header->frame().origin.y, 20 - 50) << "the status bar alone";
    window->setHidden(true);
}

TEST(UIContainerGeometry, OpaqueBarsPushPagesDownUnlessThePageExtendsUnderThem) {
    auto window = std::make_shared<UIWindow>();
    window->initWithFrame(CGRectMake(0, 0, 375, 667));
    auto page = std::make_shared<HeaderPage>();
    auto navigation = UINavigationController::initWithRootViewController(page);
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();

    navigation->navigationBar()->setTranslucent(false);
    window->layoutIfNeeded();
    EXPECT_EQ(page->view()->frame(), CGRectMake(0, 64, 375, 603));
    EXPECT_EQ(page->view()->safeAreaInsets().top, 0);
    EXPECT_EQ(page->header->frame(), CGRectMake(0, 0, 375, 170)) << "the header starts at the page's top";

    page->setExtendedLayoutIncludesOpaqueBars(true);
    window->layoutIfNeeded();
    EXPECT_EQ(page->view()->frame(), CGRectMake(0, 0, 375, 667));
    EXPECT_EQ(page->view()->safeAreaInsets().top, 64);
    EXPECT_EQ(page->header->frame().origin.y, 64);

    // Under a translucent bar every page reaches the top.
    page->setExtendedLayoutIncludesOpaqueBars(false);
    navigation->navigationBar()->setTranslucent(true);
    window->layoutIfNeeded();
    EXPECT_EQ(page->view()->frame(), CGRectMake(0, 0, 375, 667));

    // A hidden opaque bar covers nothing: only the status bar is left over the page.
    navigation->navigationBar()->setTranslucent(false);
    navigation->setNavigationBarHidden(true, false);
    window->layoutIfNeeded();
    EXPECT_EQ(page->view()->frame(), CGRectMake(0, 0, 375, 667));
    EXPECT_EQ(page->view()->safeAreaInsets().top, 20);
    window->setHidden(true);
}

// Settings nests a pane's navigation controller (bar hidden) in its own: the outer bar decides.
TEST(UIContainerGeometry, AnOpaqueOuterBarPushesDownThePagesOfANestedNavigationController) {
    auto window = std::make_shared<UIWindow>();
    window->initWithFrame(CGRectMake(0, 0, 375, 667));
    auto root = std::make_shared<HeaderPage>();
    root->setExtendedLayoutIncludesOpaqueBars(true);
    auto inner = UINavigationController::initWithRootViewController(root);
    inner->setNavigationBarHidden(true, false);
    auto outer = UINavigationController::initWithRootViewController(inner);
    window->setRootViewController(outer);
    window->makeKeyAndVisible();
    outer->navigationBar()->setTranslucent(false);
    window->layoutIfNeeded();
    EXPECT_EQ(inner->view()->frame(), CGRectMake(0, 0, 375, 667)) << "the nested controller fills the outer one";
    EXPECT_EQ(root->view()->frame(), CGRectMake(0, 0, 375, 667));
    EXPECT_EQ(root->header->frame().origin.y, 64);

    auto sub = std::make_shared<HeaderPage>();
    inner->pushViewController(sub, false);
    window->layoutIfNeeded();
    EXPECT_EQ(sub->view()->frame(), CGRectMake(0, 64, 375, 603));
    EXPECT_EQ(sub->header->frame().origin.y, 0);

    outer->navigationBar()->setTranslucent(true);
    window->layoutIfNeeded();
    EXPECT_EQ(sub->view()->frame(), CGRectMake(0, 0, 375, 667));
    EXPECT_EQ(sub->header->frame().origin.y, 64);
    window->setHidden(true);
}

class Rows : public UITableViewDataSource, public UITableViewDelegate {
public:
    long tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>&, long) override { return 3; }
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                   const std::shared_ptr<NSIndexPath>&) override {
        auto cell = std::make_shared<UITableViewCell>();
        cell->initWithStyle(UITableViewCellStyleDefault, "row");
        return cell;
    }
    CGFloat tableViewHeightForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                             const std::shared_ptr<NSIndexPath>& indexPath) override {
        return indexPath->row() == 1 ? 84 : UITableViewAutomaticDimension;
    }
    void scrollViewDidScroll(const std::shared_ptr<UIScrollView>& view) override {
        offsets.push_back(view->contentOffset().y);
    }
    std::vector<CGFloat> offsets;
};

TEST(UIContainerGeometry, ATableStacksItsCellsAndScrolls) {
    auto table = std::make_shared<UITableView>();
    table->setFrame(CGRectMake(0, 0, 320, 100));
    auto rows = std::make_shared<Rows>();
    table->setDataSource(rows);
    table->setDelegate(rows);
    table->reloadData();
    auto second = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(1, 0));
    auto third = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(2, 0));
    ASSERT_TRUE(second && third);
    EXPECT_EQ(second->frame(), CGRectMake(0, 44, 320, 84));
    EXPECT_EQ(third->frame(), CGRectMake(0, 128, 320, 44));
    EXPECT_EQ(table->contentSize(), CGSizeMake(320, 172));

    table->setFrame(CGRectMake(0, 0, 200, 100));
    table->layoutIfNeeded();
    EXPECT_EQ(third->frame(), CGRectMake(0, 128, 200, 44));

    table->_dragToContentOffset(CGPointMake(0, 72));
    EXPECT_EQ(rows->offsets, std::vector<CGFloat>{72}) << "the table's delegate hears scrolling";
    EXPECT_EQ(third->convertPoint(CGPointZero, table).y, 128) << "frames are content coordinates";
    auto screen = std::make_shared<UIView>();
    screen->setFrame(CGRectMake(0, 0, 200, 100));
    screen->addSubview(table);
    EXPECT_EQ(third->convertRect(third->bounds(), nullptr).origin.y, 128 - 72) << "on screen it moved up";
    table->removeFromSuperview();

    // In a navigation controller the bars add to the adjusted inset.
    auto page = std::make_shared<UIViewController>();
    page->setView(table);
    auto navigation = UINavigationController::initWithRootViewController(page);
    navigation->view();
    EXPECT_EQ(table->adjustedContentInset().top, 64);
    EXPECT_EQ(table->contentInset().top, 0);
}

} // namespace
