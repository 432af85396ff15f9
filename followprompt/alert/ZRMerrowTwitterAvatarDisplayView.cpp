#include "followprompt/alert/ZRMerrowTwitterAvatarDisplayView.h"

#include "followprompt/alert/MerrowImageLoader.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UIColor.h"

namespace {

[[maybe_unused]] const Class registeredDisplayView =
    platform::registerClass<ZRMerrowTwitterAvatarDisplayView, UIView>("ZRMerrowTwitterAvatarDisplayView");

} // namespace

std::shared_ptr<ZRMerrowTwitterAvatarDisplayView>
ZRMerrowTwitterAvatarDisplayView::initWithInfo(const Value& info) {
    initWithFrame(CGRectZero);
    // Both pictures are fetched at once, under one deadline.
    const bool hasIcon = info.contains("app");
    std::vector<merrow::HeaderPicture> pictures{{info["profile"], avatarSide}};
    if (hasIcon)
        pictures.push_back({info["app"], iconSide});
    auto images = merrow::loadImagesSynchronously(pictures);
    addAvatar(images[0]);
    if (hasIcon)
        addIcon(images[1]);
    applyShadow();
    return selfAs<ZRMerrowTwitterAvatarDisplayView>();
}

void ZRMerrowTwitterAvatarDisplayView::addAvatar(const std::shared_ptr<UIImage>& image) {
    _avatarView = std::make_shared<ZRMerrowAvatarView>();
    _avatarView->initWithImage(image);
    _avatarView->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(_avatarView);
    NSLayoutConstraint::activateConstraints({
        _avatarView->heightAnchor()->constraintEqualToConstant(avatarSide),
        _avatarView->topAnchor()->constraintEqualToAnchor(topAnchor()),
        _avatarView->bottomAnchor()->constraintEqualToAnchor(bottomAnchor()),
        _avatarView->leftAnchor()->constraintEqualToAnchor(leftAnchor()),
        _avatarView->rightAnchor()->constraintEqualToAnchor(rightAnchor()),
    });
}

void ZRMerrowTwitterAvatarDisplayView::addIcon(const std::shared_ptr<UIImage>& image) {
    _iconOverlayView = std::make_shared<UIImageView>();
    _iconOverlayView->initWithImage(image);
    _iconOverlayView->setTranslatesAutoresizingMaskIntoConstraints(false);
    _iconOverlayView->setContentMode(UIViewContentModeScaleAspectFit);
    addSubview(_iconOverlayView);
    NSLayoutConstraint::activateConstraints({
        _iconOverlayView->widthAnchor()->constraintEqualToConstant(iconSide),
        _iconOverlayView->heightAnchor()->constraintEqualToConstant(iconSide),
        _iconOverlayView->bottomAnchor()->constraintEqualToAnchor(_avatarView->bottomAnchor(), iconOverhang),
        _iconOverlayView->trailingAnchor()->constraintEqualToAnchor(_avatarView->trailingAnchor(),
                                                                    iconOverhang),
    });
}

void ZRMerrowTwitterAvatarDisplayView::applyShadow() {
    auto shadowLayer = layer();
    shadowLayer->setShadowColor(UIColor::blackColor());
    shadowLayer->setShadowOpacity(0.15f);
    shadowLayer->setShadowOffset(CGSizeMake(0, 2));
    shadowLayer->setShadowRadius(12);
}
