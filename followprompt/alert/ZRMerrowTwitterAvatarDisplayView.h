#pragma once

#include <memory>

#include "followprompt/alert/ZRMerrowAvatarView.h"
#include "platform/foundation/Value.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UIView.h"

// The avatar group in the middle of the header: a 72-point circular avatar with, when the info
// names an "app" picture, a 32-point icon overhanging its lower trailing corner by 4 points. The
// pictures are fetched synchronously, both at once under one deadline, when the group is built; one
// that cannot be read in time leaves its view empty at the same size.
class ZRMerrowTwitterAvatarDisplayView : public UIView {
public:
    static constexpr CGFloat avatarSide = 72;
    static constexpr CGFloat iconSide = 32;
    static constexpr CGFloat iconOverhang = 4;

    ZRMerrowTwitterAvatarDisplayView() = default;

    // `info` is the header's "foreground_images": "profile" and optional "app" URL strings.
    std::shared_ptr<ZRMerrowTwitterAvatarDisplayView> initWithInfo(const Value& info);

    const ZRMerrowAvatarViewPtr& avatarView() const { return _avatarView; }
    void setAvatarView(ZRMerrowAvatarViewPtr view) { _avatarView = std::move(view); }
    const UIImageViewPtr& iconOverlayView() const { return _iconOverlayView; }
    void setIconOverlayView(UIImageViewPtr view) { _iconOverlayView = std::move(view); }

private:
    void addAvatar(const std::shared_ptr<UIImage>& image);
    void addIcon(const std::shared_ptr<UIImage>& image);
    void applyShadow();

    ZRMerrowAvatarViewPtr _avatarView;
    UIImageViewPtr _iconOverlayView;
};

using ZRMerrowTwitterAvatarDisplayViewPtr = std::shared_ptr<ZRMerrowTwitterAvatarDisplayView>;
