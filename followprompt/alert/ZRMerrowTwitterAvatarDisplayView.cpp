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
    addAvatar(info["profile"]);
    if (info.contains("app"))
        addIcon(info["app"]);
    applyShadow();
    return selfAs<ZRMerrowTwitterAvatarDisplayView>();
}

void ZRMerrowTwitterAvatarDisplayView::addAvatar(const Value& profileURL) {
    _avatarView = std::make_shared<ZRMerrowAvatarView>();
    _avatarView->initWithImage(merrow::loadImageSynchronously(profileURL));
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

void ZRMerrowTwitterAvatarDisplayView::addIcon(const Value& appURL) {
    _iconOverlayView = std::make_shared<UIImageView>();
    _iconOverlayView->initWithImage(merrow::loadImageSynchronously(appURL));
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
