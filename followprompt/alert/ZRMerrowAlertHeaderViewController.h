#pragma once

#include <memory>

#include "followprompt/alert/ZRMerrowAlertHeaderAnimatedBackgroundView.h"
#include "followprompt/alert/ZRMerrowTwitterAvatarDisplayView.h"
#include "platform/foundation/Value.h"
#include "platform/uikit/CAGradientLayer.h"
#include "platform/uikit/UIViewController.h"

// The follow alert's header: a 160-point band (reaching 20 points below the controller's view) of
// drifting names faded out at both sides, with the avatar group in its centre.
class ZRMerrowAlertHeaderViewController : public UIViewController {
public:
    static constexpr CGFloat bandHeight = 160;
    static constexpr CGFloat bandOverhang = 20;

    ZRMerrowAlertHeaderViewController() = default;

    // (Sic: the selector lacks the h of "with".) Keeps the header object; no view is made yet.
    std::shared_ptr<ZRMerrowAlertHeaderViewController> initWitHeaderInfo(const Value& headerInfo);

    void viewDidLoad() override;
    void viewDidLayoutSubviews() override;

    const ZRMerrowAlertHeaderAnimatedBackgroundViewPtr& animatedBackgroundView() const {
        return m_animatedBackgroundView;
    }
    const CAGradientLayerPtr& backgroundMaskLayer() const { return m_backgroundMaskLayer; }
    const ZRMerrowTwitterAvatarDisplayViewPtr& avatarDisplayView() const { return m_avatarDisplayView; }
    const std::shared_ptr<UIView>& containerView() const { return m_containerView; }
    const Value& headerInfo() const { return _headerInfo; }

private:
    void addContainer();
    void addAnimatedBackground();
    void addAvatarGroup();

    ZRMerrowAlertHeaderAnimatedBackgroundViewPtr m_animatedBackgroundView;
    CAGradientLayerPtr m_backgroundMaskLayer;
    Value _headerInfo;
    std::shared_ptr<UIView> m_containerView;
    ZRMerrowTwitterAvatarDisplayViewPtr m_avatarDisplayView;
};

using ZRMerrowAlertHeaderViewControllerPtr = std::shared_ptr<ZRMerrowAlertHeaderViewController>;
