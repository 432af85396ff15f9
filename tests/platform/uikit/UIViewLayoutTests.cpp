#include <gtest/gtest.h>

#include <vector>

#include "platform/foundation/NSLog.h"
#include "platform/uikit/LayoutEngine.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

namespace {

std::shared_ptr<UIView> rootView(CGFloat width, CGFloat height) {
    auto view = std::make_shared<UIView>();
    view->setFrame(CGRectMake(0, 0, width, height));
    return view;
}

std::shared_ptr<UIView> constrainedSubview(const std::shared_ptr<UIView>& superview) {
    auto view = std::make_shared<UIView>();
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    superview->addSubview(view);
    return view;
}

void activate(const std::vector<NSLayoutConstraintPtr>& constraints) {
    NSLayoutConstraint::activateConstraints(constraints);
}

TEST(UIViewLayout, SolvesASquareCentredInItsSuperview) {
    auto root = rootView(320, 480);
    auto square = constrainedSubview(root);
    activate({square->centerXAnchor()->constraintEqualToAnchor(root->centerXAnchor()),
              square->centerYAnchor()->constraintEqualToAnchor(root->centerYAnchor()),
              square->widthAnchor()->constraintEqualToConstant(100),
              square->heightAnchor()->constraintEqualToAnchor(square->widthAnchor())});
    root->layoutIfNeeded();
    EXPECT_EQ(square->frame(), CGRectMake(110, 190, 100, 100));

    // Resizing the top view moves the square at the next pass.
    root->setFrame(CGRectMake(0, 0, 200, 200));
    root->layoutIfNeeded();
    EXPECT_EQ(square->frame(), CGRectMake(50, 50, 100, 100));
}

TEST(UIViewLayout, ConstantsPrioritiesAndDeactivationAreSolvedIncrementally) {
    auto root = rootView(300, 300);
    auto box = constrainedSubview(root);
    auto leading = box->leadingAnchor()->constraintEqualToAnchor(root->leadingAnchor(), 20);
    auto top = box->topAnchor()->constraintEqualToAnchor(root->topAnchor(), 10);
    auto preferredWidth = box->widthAnchor()->constraintEqualToConstant(500);
    preferredWidth->setPriority(UILayoutPriorityDefaultLow);
    auto fitsInside = box->trailingAnchor()->constraintLessThanOrEqualToAnchor(root->trailingAnchor(), -20);
    activate({leading, top, preferredWidth, fitsInside, box->heightAnchor()->constraintEqualToConstant(40)});
    root->layoutIfNeeded();
    EXPECT_EQ(box->frame(), CGRectMake(20, 10, 260, 40)) << "the optional width yields to the required edge";

    auto& engine = root->_layoutEngineOfTree();
    std::size_t count = engine.solverConstraintCount();
    leading->setConstant(50);
    root->layoutIfNeeded();
    EXPECT_EQ(box->frame(), CGRectMake(50, 10, 230, 40));
    EXPECT_EQ(engine.solverConstraintCount(), count) << "a new constant replaces the old one";

    // A stronger optional preference beats the weaker one whatever their sizes.
    auto narrow = box->widthAnchor()->constraintEqualToConstant(100);
    narrow->setPriority(UILayoutPriorityDefaultHigh);
    narrow->setActive(true);
    root->layoutIfNeeded();
    EXPECT_EQ(box->frame().size.width, 100);

    narrow->setActive(false);
    fitsInside->setActive(false);
    root->layoutIfNeeded();
    EXPECT_EQ(box->frame().size.width, 500);
    EXPECT_EQ(root->constraints().size(), 2u) << "leading and top; the others name the box alone";
    EXPECT_EQ(box->constraints().size(), 2u);
    EXPECT_FALSE(fitsInside->isActive());

    // Moving between required and optional is refused on an active constraint.
    platform::LogCapture log;
    leading->setPriority(500);
    EXPECT_EQ(leading->priority(), UILayoutPriorityRequired);
    EXPECT_TRUE(log.contains("Mutating a priority from required to not"));
}

TEST(UIViewLayout, AnUnsatisfiableRequiredConstraintIsLoggedAndLeftOut) {
    auto root = rootView(300, 300);
    auto box = constrainedSubview(root);
    auto first = box->widthAnchor()->constraintEqualToConstant(100);
    auto second = box->widthAnchor()->constraintEqualToConstant(200);
    activate({box->leadingAnchor()->constraintEqualToAnchor(root->leadingAnchor()),
              box->topAnchor()->constraintEqualToAnchor(root->topAnchor()),
              box->heightAnchor()->constraintEqualToConstant(10), first});
    root->layoutIfNeeded();

    platform::LogCapture log;
    second->setActive(true);
    root->layoutIfNeeded();
    EXPECT_TRUE(log.contains("Unable to simultaneously satisfy constraints"));
    EXPECT_TRUE(log.contains(second->description().substr(0, 30)));
    EXPECT_EQ(box->frame().size.width, 100);
    EXPECT_TRUE(second->isActive()) << "left out of the solution, not deactivated";

    // Once the constraint it conflicted with is gone, it takes effect.
    first->setActive(false);
    root->layoutIfNeeded();
    EXPECT_EQ(box->frame().size.width, 200);
}

TEST(UIViewLayout, AConstraintNeedsACommonAncestor) {
    auto one = rootView(10, 10);
    auto other = rootView(10, 10);
    platform::LogCapture log;
    auto constraint = one->widthAnchor()->constraintEqualToAnchor(other->widthAnchor());
    constraint->setActive(true);
    EXPECT_FALSE(constraint->isActive());
    EXPECT_TRUE(log.contains("no common ancestor"));

    auto anchor = std::make_shared<UIView>()->leftAnchor();
    auto orphan = one->leftAnchor()->constraintEqualToAnchor(anchor);
    orphan->setActive(true);
    EXPECT_FALSE(orphan->isActive()) << "the other item is gone";
}

TEST(UIViewLayout, ConstraintsFollowFramePlacedViewsAndDieWithRemovedOnes) {
    auto root = rootView(300, 200);
    auto panel = std::make_shared<UIView>();
    panel->setFrame(CGRectMake(10, 10, 280, 180));
    panel->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    root->addSubview(panel);
    auto content = constrainedSubview(panel);
    activate({content->leadingAnchor()->constraintEqualToAnchor(panel->leadingAnchor(), 5),
              content->trailingAnchor()->constraintEqualToAnchor(panel->trailingAnchor(), -5),
              content->topAnchor()->constraintEqualToAnchor(panel->topAnchor(), 5),
              content->bottomAnchor()->constraintEqualToAnchor(panel->bottomAnchor(), -5)});
    root->layoutIfNeeded();
    EXPECT_EQ(content->frame(), CGRectMake(5, 5, 270, 170));

    root->setFrame(CGRectMake(0, 0, 400, 300));
    root->layoutIfNeeded();
    EXPECT_EQ(panel->frame(), CGRectMake(10, 10, 380, 280));
    EXPECT_EQ(content->frame(), CGRectMake(5, 5, 370, 270));

    // Code moving the frame-placed panel moves what is constrained to it.
    panel->setFrame(CGRectMake(0, 0, 100, 50));
    root->layoutIfNeeded();
    EXPECT_EQ(content->frame(), CGRectMake(5, 5, 90, 40));

    // A constraint between a removed view and the rest of the tree goes with it.
    auto sibling = constrainedSubview(root);
    auto crossing = sibling->topAnchor()->constraintEqualToAnchor(content->bottomAnchor());
    crossing->setActive(true);
    content->removeFromSuperview();
    EXPECT_FALSE(crossing->isActive());
    EXPECT_EQ(content->constraints().size(), 0u);
    EXPECT_EQ(panel->constraints().size(), 0u) << "the constraints between panel and content ended too";
}

TEST(UIViewLayout, LayoutMarginsGuideInsetsTheBounds) {
    auto root = rootView(200, 100);
    root->setLayoutMargins(UIEdgeInsetsMake(10, 20, 30, 40));
    auto content = constrainedSubview(root);
    auto guide = root->layoutMarginsGuide();
    activate({content->leadingAnchor()->constraintEqualToAnchor(guide->leadingAnchor()),
              content->trailingAnchor()->constraintEqualToAnchor(guide->trailingAnchor()),
              content->topAnchor()->constraintEqualToAnchor(guide->topAnchor()),
              content->bottomAnchor()->constraintEqualToAnchor(guide->bottomAnchor())});
    root->layoutIfNeeded();
    EXPECT_EQ(content->frame(), CGRectMake(20, 10, 140, 60));
    EXPECT_EQ(guide->layoutFrame(), CGRectMake(20, 10, 140, 60));

    root->setLayoutMargins(UIEdgeInsetsZero);
    root->layoutIfNeeded();
    EXPECT_EQ(content->frame(), CGRectMake(0, 0, 200, 100));

    // A view that preserves its superview's margins keeps its content out of them too.
    root->setLayoutMargins(UIEdgeInsetsMake(0, 30, 0, 30));
    auto inner = std::make_shared<UIView>();
    inner->setFrame(CGRectMake(10, 0, 180, 100));
    inner->setPreservesSuperviewLayoutMargins(true);
    inner->setLayoutMargins(UIEdgeInsetsZero);
    root->addSubview(inner);
    EXPECT_EQ(inner->_effectiveLayoutMargins(), UIEdgeInsetsMake(0, 20, 0, 20));
}

class BadgeView : public UIView {
public:
    CGSize intrinsicContentSize() const override { return m_size; }
    void setContentSize(CGSize size) {
        m_size = size;
        invalidateIntrinsicContentSize();
    }

private:
    CGSize m_size{50, 20};
};

TEST(UIViewLayout, IntrinsicSizeIsHuggedAndResistsCompression) {
    auto root = rootView(300, 300);
    auto badge = std::make_shared<BadgeView>();
    badge->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(badge);
    activate({badge->leadingAnchor()->constraintEqualToAnchor(root->leadingAnchor()),
              badge->topAnchor()->constraintEqualToAnchor(root->topAnchor())});
    root->layoutIfNeeded();
    EXPECT_EQ(badge->frame(), CGRectMake(0, 0, 50, 20));

    badge->setContentSize({80, 30});
    root->layoutIfNeeded();
    EXPECT_EQ(badge->frame().size, CGSizeMake(80, 30));

    // An optional width above the compression resistance squeezes it; one below does not.
    auto squeeze = badge->widthAnchor()->constraintEqualToConstant(40);
    squeeze->setPriority(UILayoutPriorityDefaultHigh - 1);
    squeeze->setActive(true);
    root->layoutIfNeeded();
    EXPECT_EQ(badge->frame().size.width, 80);
    squeeze->setActive(false);
    squeeze->setPriority(UILayoutPriorityDefaultHigh + 1);
    squeeze->setActive(true);
    root->layoutIfNeeded();
    EXPECT_EQ(badge->frame().size.width, 40);
}

TEST(UIViewLayout, ATopViewLaidOutByConstraintsTakesTheirSize) {
    auto card = std::make_shared<UIView>();
    card->setTranslatesAutoresizingMaskIntoConstraints(false);
    auto badge = std::make_shared<BadgeView>();
    badge->setTranslatesAutoresizingMaskIntoConstraints(false);
    card->addSubview(badge);
    activate({badge->leadingAnchor()->constraintEqualToAnchor(card->leadingAnchor(), 8),
              badge->trailingAnchor()->constraintEqualToAnchor(card->trailingAnchor(), -8),
              badge->topAnchor()->constraintEqualToAnchor(card->topAnchor(), 4),
              badge->bottomAnchor()->constraintEqualToAnchor(card->bottomAnchor(), -4)});
    card->layoutIfNeeded();
    EXPECT_EQ(card->bounds().size, CGSizeMake(66, 28));
    EXPECT_EQ(badge->frame(), CGRectMake(8, 4, 50, 20));
}

class RecordingController : public UIViewController {
public:
    void viewDidLoad() override {
        content = std::make_shared<UIView>();
        content->setTranslatesAutoresizingMaskIntoConstraints(false);
        view()->addSubview(content);
        NSLayoutConstraint::activateConstraints(
            {content->leadingAnchor()->constraintEqualToAnchor(view()->leadingAnchor(), 16),
             content->trailingAnchor()->constraintEqualToAnchor(view()->trailingAnchor(), -16),
             content->topAnchor()->constraintEqualToAnchor(view()->topAnchor(), 100),
             content->heightAnchor()->constraintEqualToConstant(44)});
    }
    void viewWillLayoutSubviews() override { events.push_back("will"); }
    void viewDidLayoutSubviews() override {
        events.push_back("did " + std::to_string(int(content->frame().size.width)));
    }

    std::shared_ptr<UIView> content;
    std::vector<std::string> events;
};

TEST(UIViewLayout, AWindowLaysOutItsRootViewController) {
    auto window = std::make_shared<UIWindow>();
    window->initWithFrame(CGRectMake(0, 0, 320, 480));
    auto controller = std::make_shared<RecordingController>();
    window->setRootViewController(controller);
    window->makeKeyAndVisible();
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_EQ(controller->view()->frame(), CGRectMake(0, 0, 320, 480));
    EXPECT_EQ(controller->content->frame(), CGRectMake(16, 100, 288, 44));
    EXPECT_EQ(controller->events, (std::vector<std::string>{"will", "did 288"}));

    // Rotating: the root view follows the window, and its content the root view.
    window->setFrame(CGRectMake(0, 0, 480, 320));
    window->layoutIfNeeded();
    EXPECT_EQ(controller->view()->frame(), CGRectMake(0, 0, 480, 320));
    EXPECT_EQ(controller->content->frame().size.width, 448);
    EXPECT_EQ(controller->events.back(), "did 448");
    window->setHidden(true);
}

} // namespace
