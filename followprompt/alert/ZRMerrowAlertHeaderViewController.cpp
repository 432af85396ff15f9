#include "followprompt/alert/ZRMerrowAlertHeaderViewController.h"

#include "platform/uikit/CALayer.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UIColor.h"

namespace {

[[maybe_unused]] const Class registeredHeaderController =
    platform::registerClass<ZRMerrowAlertHeaderViewController, UIViewController>("ZRMerrowAlertHeaderViewController");

} // namespace

std::shared_ptr<ZRMerrowAlertHeaderViewController>
ZRMerrowAlertHeaderViewController::initWitHeaderInfo(const Value& headerInfo) {
    _headerInfo = headerInfo;
    return selfAs<ZRMerrowAlertHeaderViewController>();
}

void ZRMerrowAlertHeaderViewController::viewDidLoad() {
    UIViewController::viewDidLoad();
    addContainer();
    addAnimatedBackground();
    addAvatarGroup();
}

void ZRMerrowAlertHeaderViewController::addContainer() {
    auto root = view();
    m_containerView = std::make_shared<UIView>();
    m_containerView->setTranslatesAutoresizingMaskIntoConstraints(false);
    root->addSubview(m_containerView);
    NSLayoutConstraint::activateConstraints({
        m_containerView->heightAnchor()->constraintEqualToConstant(bandHeight),
        m_containerView->topAnchor()->constraintEqualToAnchor(root->topAnchor()),
        m_containerView->bottomAnchor()->constraintEqualToAnchor(root->bottomAnchor(), bandOverhang),
        m_containerView->leftAnchor()->constraintEqualToAnchor(root->leftAnchor()),
        m_containerView->rightAnchor()->constraintEqualToAnchor(root->rightAnchor()),
    });
}

void ZRMerrowAlertHeaderViewController::addAnimatedBackground() {
    m_animatedBackgroundView = std::make_shared<ZRMerrowAlertHeaderAnimatedBackgroundView>();
    m_animatedBackgroundView->initWithFrame(m_containerView->bounds(), _headerInfo["background_items"]);
    m_animatedBackgroundView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth |
                                                  UIViewAutoresizingFlexibleHeight);
    m_containerView->addSubview(m_animatedBackgroundView);

    // The outer quarter on each side fades from transparent at the edge to opaque.
    m_backgroundMaskLayer = CAGradientLayer::layer();
    m_backgroundMaskLayer->setColors(
        {UIColor::clearColor(), UIColor::blackColor(), UIColor::blackColor(), UIColor::clearColor()});
    m_backgroundMaskLayer->setLocations({0, 0.25, 0.75, 1});
    m_backgroundMaskLayer->setStartPoint(CGPointMake(0, 0.5));
    m_backgroundMaskLayer->setEndPoint(CGPointMake(1, 0.5));
    m_animatedBackgroundView->layer()->setMask(m_backgroundMaskLayer);
}

void ZRMerrowAlertHeaderViewController::addAvatarGroup() {
    m_avatarDisplayView = std::make_shared<ZRMerrowTwitterAvatarDisplayView>();
    m_avatarDisplayView->initWithInfo(_headerInfo["foreground_images"]);
    m_avatarDisplayView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_containerView->addSubview(m_avatarDisplayView);
    NSLayoutConstraint::activateConstraints({
        m_avatarDisplayView->centerXAnchor()->constraintEqualToAnchor(m_containerView->centerXAnchor()),
        m_avatarDisplayView->centerYAnchor()->constraintEqualToAnchor(m_containerView->centerYAnchor()),
    });
}

void ZRMerrowAlertHeaderViewController::viewDidLayoutSubviews() {
    UIViewController::viewDidLayoutSubviews();
    if (m_backgroundMaskLayer && m_animatedBackgroundView)
        m_backgroundMaskLayer->setFrame(m_animatedBackgroundView->bounds());
}
