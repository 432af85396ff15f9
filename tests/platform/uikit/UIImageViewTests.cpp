#include <gtest/gtest.h>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"

namespace {

std::shared_ptr<UIImage> imageOfPixels(std::uint32_t width, std::uint32_t height, double scale = 1) {
    auto bitmap = platform::Bitmap::allocate(width, height);
    return UIImage::imageWithBitmap(std::make_shared<const platform::Bitmap>(std::move(*bitmap)), scale);
}

TEST(UIImageView, SizesToItsImageAndPlacesItByContentMode) {
    auto view = std::make_shared<UIImageView>();
    view->initWithImage(imageOfPixels(120, 60, 2));
    EXPECT_EQ(view->frame(), CGRectMake(0, 0, 60, 30)) << "points, not pixels";
    EXPECT_EQ(view->intrinsicContentSize(), CGSizeMake(60, 30));

    view->setFrame(CGRectMake(0, 0, 100, 100));
    EXPECT_EQ(view->_imageRect(), CGRectMake(0, 0, 100, 100)) << "scale to fill by default";
    view->setContentMode(UIViewContentModeScaleAspectFit);
    EXPECT_EQ(view->_imageRect(), CGRectMake(0, 25, 100, 50));
    view->setContentMode(UIViewContentModeScaleAspectFill);
    EXPECT_EQ(view->_imageRect(), CGRectMake(-50, 0, 200, 100));
    view->setContentMode(UIViewContentModeCenter);
    EXPECT_EQ(view->_imageRect(), CGRectMake(20, 35, 60, 30));
    view->setContentMode(UIViewContentModeBottomRight);
    EXPECT_EQ(view->_imageRect(), CGRectMake(40, 70, 60, 30));

    view->setImage(nullptr);
    EXPECT_EQ(view->intrinsicContentSize(), CGSizeMake(UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric));
}

TEST(UIImageView, AnImageArrivingLaterResizesAnUnconstrainedImageView) {
    auto root = std::make_shared<UIView>();
    root->setFrame(CGRectMake(0, 0, 200, 200));
    auto view = std::make_shared<UIImageView>();
    view->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(view);
    NSLayoutConstraint::activateConstraints(
        {view->centerXAnchor()->constraintEqualToAnchor(root->centerXAnchor()),
         view->centerYAnchor()->constraintEqualToAnchor(root->centerYAnchor())});
    root->layoutIfNeeded();
    view->setImage(imageOfPixels(40, 20));
    root->layoutIfNeeded();
    EXPECT_EQ(view->frame(), CGRectMake(80, 90, 40, 20));

    // Fixed constraints win over the image's size.
    NSLayoutConstraint::activateConstraints({view->widthAnchor()->constraintEqualToConstant(32),
                                             view->heightAnchor()->constraintEqualToConstant(32)});
    root->layoutIfNeeded();
    EXPECT_EQ(view->frame(), CGRectMake(84, 84, 32, 32));
}

TEST(UIButton, SystemButtonsSizeToTheirContentAndUseTheTint) {
    auto button = UIButton::buttonWithType(UIButtonType::System);
    EXPECT_EQ(button->intrinsicContentSize(), CGSizeMake(30, 34)) << "an empty button still has a size";
    button->setImage(imageOfPixels(20, 20), UIControlStateNormal);
    EXPECT_EQ(button->intrinsicContentSize(), CGSizeMake(20, 20));
    button->setTitle("Follow", UIControlStateNormal);
    CGSize withTitle = button->intrinsicContentSize();
    EXPECT_GT(withTitle.width, 40);
    EXPECT_GE(withTitle.height, 20);

    auto parent = std::make_shared<UIView>();
    parent->setTintColor(UIColor::redColor());
    parent->addSubview(button);
    EXPECT_EQ(button->currentTitleColor(), UIColor::redColor());
    button->setTitleColor(UIColor::blackColor(), UIControlStateNormal);
    EXPECT_EQ(button->currentTitleColor(), UIColor::blackColor());

    button->setAccessibilityLabel("Open on GitHub");
    int taps = 0;
    button->addAction([&](const std::shared_ptr<UIControl>& sender) { taps += sender == button ? 1 : 100; },
                      UIControlEventTouchUpInside);
    button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(taps, 1);
    EXPECT_EQ(button->accessibilityLabel(), "Open on GitHub");
}

} // namespace
