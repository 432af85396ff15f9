#include "settings/rootpage/KVCorvaleSettingsNavigationTitleView.h"

#include "platform/runtime/MethodBinding.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"

namespace {

using TitleView = KVCorvaleSettingsNavigationTitleView;

using platform::bind;

// Hosts read the view's state by name.
[[maybe_unused]] const Class registeredClass =
    platform::registerClass<TitleView, UIView>("KVCorvaleSettingsNavigationTitleView", {
        {"title", bind<&TitleView::title>()},
        {"subtitle", bind<&TitleView::subtitle>()},
        {"showingIcon", bind<&TitleView::showingIcon>()},
        {"whiteText", bind<&TitleView::whiteText>()},
    });

std::shared_ptr<UILabel> makeCentredLine(const UIFontPtr& font) {
    auto label = std::make_shared<UILabel>();
    label->setFont(font);
    label->setNumberOfLines(1);
    label->setTextAlignment(NSTextAlignmentCenter);
    return label;
}

} // namespace

std::shared_ptr<UIView> KVCorvaleSettingsNavigationTitleView::initWithFrame(CGRect frame) {
    auto view = UIView::initWithFrame(frame);
    if (!view)
        return nullptr;
    buildSubviews();
    return view;
}

std::shared_ptr<KVCorvaleSettingsNavigationTitleView>
KVCorvaleSettingsNavigationTitleView::titleViewWithFrame(CGRect frame) {
    return std::dynamic_pointer_cast<KVCorvaleSettingsNavigationTitleView>(
        std::make_shared<KVCorvaleSettingsNavigationTitleView>()->initWithFrame(frame));
}

void KVCorvaleSettingsNavigationTitleView::buildSubviews() {
    titleLabel = makeCentredLine(UIFont::systemFontOfSize(15, UIFontWeightMedium));
    subtitleLabel = makeCentredLine(UIFont::systemFontOfSize(11));
    setWhiteText(true);
    buildTitleStack();
    buildIconView();
}

void KVCorvaleSettingsNavigationTitleView::buildTitleStack() {
    titleStackView = std::make_shared<UIStackView>();
    titleStackView->addArrangedSubview(titleLabel);
    titleStackView->addArrangedSubview(subtitleLabel);
    titleStackView->setAxis(UILayoutConstraintAxisVertical);
    titleStackView->setSpacing(1.0);
    titleStackView->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(titleStackView);
    titleStackView->centerYAnchor()->constraintEqualToAnchor(centerYAnchor())->setActive(true);
    titleStackView->leftAnchor()->constraintEqualToAnchor(leftAnchor())->setActive(true);
    titleStackView->rightAnchor()->constraintEqualToAnchor(rightAnchor())->setActive(true);
}

void KVCorvaleSettingsNavigationTitleView::buildIconView() {
    iconImageView = std::make_shared<UIImageView>();
    iconImageView->setTranslatesAutoresizingMaskIntoConstraints(false);
    iconImageView->setAlpha(0);
    addSubview(iconImageView);
    iconImageView->centerXAnchor()->constraintEqualToAnchor(centerXAnchor())->setActive(true);
    iconImageView->centerYAnchor()->constraintEqualToAnchor(centerYAnchor())->setActive(true);
    iconImageView->widthAnchor()->constraintEqualToConstant(iconSide)->setActive(true);
    iconImageView->heightAnchor()->constraintEqualToConstant(iconSide)->setActive(true);
}

void KVCorvaleSettingsNavigationTitleView::setTitle(std::string title) {
    _title = std::move(title);
    if (titleLabel)
        titleLabel->setText(_title);
}

void KVCorvaleSettingsNavigationTitleView::setSubtitle(std::optional<std::string> subtitle) {
    _subtitle = std::move(subtitle);
    if (!subtitleLabel)
        return;
    subtitleLabel->setText(_subtitle.value_or(""));
    subtitleLabel->setHidden(!_subtitle || _subtitle->empty());
}

void KVCorvaleSettingsNavigationTitleView::setIconImage(const std::shared_ptr<UIImage>& image) {
    _iconImage = image;
    if (iconImageView)
        iconImageView->setImage(image);
}

void KVCorvaleSettingsNavigationTitleView::setWhiteText(bool whiteText) {
    _whiteText = whiteText;
    const double white = whiteText ? 1.0 : 0.0;
    if (titleLabel)
        titleLabel->setTextColor(whiteText ? UIColor::whiteColor() : UIColor::blackColor());
    if (subtitleLabel)
        subtitleLabel->setTextColor(UIColor::colorWithWhite(white, 0.5));
}

void KVCorvaleSettingsNavigationTitleView::setShowingIcon(bool showingIcon) {
    _showingIcon = showingIcon;
    if (!iconImageView || !titleStackView)
        return;
    iconImageView->setAlpha(showingIcon ? 1.0 : 0.0);
    iconImageView->setTransform(showingIcon ? CGAffineTransformIdentity
                                            : CGAffineTransformMakeTranslation(0, -slideDistance));
    titleStackView->setAlpha(showingIcon ? 0.0 : 1.0);
    titleStackView->setTransform(showingIcon ? CGAffineTransformMakeTranslation(0, slideDistance)
                                             : CGAffineTransformIdentity);
}

void KVCorvaleSettingsNavigationTitleView::setShowingIcon(bool showingIcon, bool animated) {
    if (showingIcon == _showingIcon)
        return;
    if (!animated) {
        setShowingIcon(showingIcon);
        return;
    }
    auto self = selfAs<KVCorvaleSettingsNavigationTitleView>();
    UIView::animateWithDuration(swapDuration,
                                [self, showingIcon] { self->setShowingIcon(showingIcon, false); });
}
