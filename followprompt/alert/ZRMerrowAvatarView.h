#pragma once

#include <memory>

#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UIImageView.h"

// The circular picture of the account to follow: square from the moment it enters a window, its
// corners rounded to half its width on every layout pass.
class ZRMerrowAvatarView : public UIImageView {
public:
    ZRMerrowAvatarView() = default;

    void didMoveToWindow() override;
    void layoutSubviews() override;

    const std::shared_ptr<NSLayoutConstraint>& aspectRatioConstraint() const {
        return m_aspectRatioConstraint;
    }

private:
    std::shared_ptr<NSLayoutConstraint> m_aspectRatioConstraint;
};

using ZRMerrowAvatarViewPtr = std::shared_ptr<ZRMerrowAvatarView>;
