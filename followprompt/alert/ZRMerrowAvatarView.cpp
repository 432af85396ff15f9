#include "followprompt/alert/ZRMerrowAvatarView.h"

#include "platform/uikit/CALayer.h"
#include "platform/uikit/NSLayoutDimension.h"

namespace {

[[maybe_unused]] const Class registeredAvatarView =
    platform::registerClass<ZRMerrowAvatarView, UIImageView>("ZRMerrowAvatarView");

} // namespace

void ZRMerrowAvatarView::didMoveToWindow() {
    UIImageView::didMoveToWindow();
    if (!window())
        return;
    // A fresh constraint per window, so moving between windows never leaves two active.
    if (m_aspectRatioConstraint)
        m_aspectRatioConstraint->setActive(false);
    m_aspectRatioConstraint = widthAnchor()->constraintEqualToAnchor(heightAnchor());
    m_aspectRatioConstraint->setActive(true);
    setClipsToBounds(true);
    setContentMode(UIViewContentModeScaleAspectFill);
}

void ZRMerrowAvatarView::layoutSubviews() {
    UIImageView::layoutSubviews();
    layer()->setCornerRadius(bounds().size.width / 2);
}
