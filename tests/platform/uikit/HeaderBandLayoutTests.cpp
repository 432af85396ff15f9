#include <gtest/gtest.h>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

// A band like the follow prompt's header, built the way its views build themselves: a round avatar
// that makes itself square when it enters a window and rounds itself on every layout pass, an icon
// overhanging its corner, a frame-placed background that follows the band's size and a gradient mask
// kept at the background's bounds.
namespace {

class RoundAvatar : public UIImageView {
public:
    void didMoveToWindow() override {
        UIImageView::didMoveToWindow();
        if (!window())
            return;
        if (aspect)
            aspect->setActive(false);
        aspect = widthAnchor()->constraintEqualToAnchor(heightAnchor());
        aspect->setActive(true);
        setClipsToBounds(true);
    }
    void layoutSubviews() override {
        UIImageView::layoutSubviews();
        layer()->setCornerRadius(bounds().size.width / 2);
    }
    NSLayoutConstraintPtr aspect;
};

class HeaderController : public UIViewController {
public:
    void viewDidLoad() override {
        container = std::make_shared<UIView>();
        container->setTranslatesAutoresizingMaskIntoConstraints(false);
        view()->addSubview(container);
        NSLayoutConstraint::activateConstraints(
            {container->heightAnchor()->constraintEqualToConstant(160),
             container->topAnchor()->constraintEqualToAnchor(view()->topAnchor()),
             container->bottomAnchor()->constraintEqualToAnchor(view()->bottomAnchor(), 20),
             container->leftAnchor()->constraintEqualToAnchor(view()->leftAnchor()),
             container->rightAnchor()->constraintEqualToAnchor(view()->rightAnchor())});

        background = std::make_shared<UIView>();
        background->initWithFrame(container->bounds());
        background->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
        container->addSubview(background);
        mask = CAGradientLayer::layer();
        background->layer()->setMask(mask);

        group = std::make_shared<UIView>();
        group->setTranslatesAutoresizingMaskIntoConstraints(false);
        avatar = std::make_shared<RoundAvatar>();
        avatar->setTranslatesAutoresizingMaskIntoConstraints(false);
        group->addSubview(avatar);
        icon = std::make_shared<UIImageView>();
        icon->setTranslatesAutoresizingMaskIntoConstraints(false);
        group->addSubview(icon);
        NSLayoutConstraint::activateConstraints(
            {avatar->heightAnchor()->constraintEqualToConstant(72),
             avatar->topAnchor()->constraintEqualToAnchor(group->topAnchor()),
             avatar->bottomAnchor()->constraintEqualToAnchor(group->bottomAnchor()),
             avatar->leftAnchor()->constraintEqualToAnchor(group->leftAnchor()),
             avatar->rightAnchor()->constraintEqualToAnchor(group->rightAnchor()),
             icon->widthAnchor()->constraintEqualToConstant(32),
             icon->heightAnchor()->constraintEqualToConstant(32),
             icon->bottomAnchor()->constraintEqualToAnchor(avatar->bottomAnchor(), 4),
             icon->trailingAnchor()->constraintEqualToAnchor(avatar->trailingAnchor(), 4)});
        container->addSubview(group);
        NSLayoutConstraint::activateConstraints(
            {group->centerXAnchor()->constraintEqualToAnchor(container->centerXAnchor()),
             group->centerYAnchor()->constraintEqualToAnchor(container->centerYAnchor())});
    }
    void viewDidLayoutSubviews() override { mask->setFrame(background->bounds()); }

    std::shared_ptr<UIView> container, background, group;
    std::shared_ptr<RoundAvatar> avatar;
    std::shared_ptr<UIImageView> icon;
    CAGradientLayerPtr mask;
};

TEST(HeaderBandLayout, ACircleCentredInTheBandWithItsIconOverhanging) {
    auto window = std::make_shared<UIWindow>();
    window->initWithFrame(CGRectMake(0, 0, 270, 140));
    auto header = std::make_shared<HeaderController>();
    window->setRootViewController(header);
    window->makeKeyAndVisible();

    EXPECT_EQ(header->container->frame(), CGRectMake(0, 0, 270, 160))
        << "20 points below the controller's view";
    EXPECT_EQ(header->background->frame(), CGRectMake(0, 0, 270, 160));
    EXPECT_EQ(header->mask->frame(), CGRectMake(0, 0, 270, 160));
    EXPECT_EQ(header->group->frame(), CGRectMake(99, 44, 72, 72));
    EXPECT_EQ(header->avatar->frame(), CGRectMake(0, 0, 72, 72));
    EXPECT_EQ(header->avatar->layer()->cornerRadius(), 36);
    EXPECT_EQ(header->icon->frame(), CGRectMake(44, 44, 32, 32));

    // Entering another window replaces the aspect constraint rather than adding a second.
    auto first = header->avatar->aspect;
    auto other = std::make_shared<UIWindow>();
    other->initWithFrame(CGRectMake(0, 0, 300, 140));
    other->addSubview(header->view());
    EXPECT_FALSE(first->isActive());
    EXPECT_TRUE(header->avatar->aspect->isActive());
    header->view()->setFrame(other->bounds());
    other->layoutIfNeeded();
    EXPECT_EQ(header->mask->frame().size.width, 300) << "the mask follows the background on every pass";
    EXPECT_EQ(header->group->frame(), CGRectMake(114, 44, 72, 72));
    window->setHidden(true);
}

} // namespace
