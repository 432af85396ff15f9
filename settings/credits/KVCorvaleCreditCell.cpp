#include "settings/credits/KVCorvaleCreditCell.h"

#include <algorithm>
#include <cctype>


#include "settings/credits/KVCorvaleCreditService.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSURLSessionDataTask.h"
#include "platform/foundation/UnicodeCase.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/CALayer.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UILayoutGuide.h"

namespace {

using platform::bind;
using Cell = KVCorvaleCreditCell;

[[maybe_unused]] const Class registeredClass = platform::registerClass<Cell, PSTableCell>("KVCorvaleCreditCell", {
    {"buttonTapped:", bind<&Cell::buttonTapped>()},
    // Hosts read the cell by name.
    {"name", bind<&Cell::name>()},
    {"position", bind<&Cell::position>()},
    {"optionStackView", bind<&Cell::optionStackView>()},
    {"_pictureSettled", bind<&Cell::_pictureSettled>()},
    {"avatarImageView", bind<&Cell::avatarImageView>()},
});

} // namespace

std::shared_ptr<PSTableCell>
KVCorvaleCreditCell::initWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    return initWithStyle(UITableViewCellStyleDefault, std::string(reuseIdentifier), specifier);
}

std::shared_ptr<PSTableCell>
KVCorvaleCreditCell::initWithStyle(UITableViewCellStyle style, std::string reuseIdentifier,
                                   const std::shared_ptr<PSSpecifier>& specifier) {
    auto cell = PSTableCell::initWithStyle(style, std::move(reuseIdentifier), specifier);
    if (!cell)
        return cell;
    m_imageManager = KVCorvaleSettingsCreditsImageManager::init();
    if (m_imageManager) {
        m_imageManager->setDelegate(selfAs<KVCorvaleCreditCell>());
        m_imageManager->setPictureSide(avatarSide);
    }
    setSelectionStyle(UITableViewCellSelectionStyleNone);
    setCreditOptions({});
    buildAvatar();
    auto container = buildTextContainer();
    buildLabels(container);
    buildOptionRow(container);
    parseSpecifiers(specifier);
    return cell;
}

void KVCorvaleCreditCell::buildAvatar() {
    m_avatarImageView = std::make_shared<UIImageView>();
    m_avatarImageView->setBackgroundColor(UIColor::colorWithWhite(0.847, 1.0));
    m_avatarImageView->setClipsToBounds(true);
    m_avatarImageView->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(m_avatarImageView);
    NSLayoutConstraint::activateConstraints({
        m_avatarImageView->heightAnchor()->constraintEqualToConstant(avatarSide),
        m_avatarImageView->widthAnchor()->constraintEqualToAnchor(m_avatarImageView->heightAnchor()),
        m_avatarImageView->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
        m_avatarImageView->leadingAnchor()->constraintEqualToAnchor(layoutMarginsGuide()->leadingAnchor()),
    });
}

std::shared_ptr<UIView> KVCorvaleCreditCell::buildTextContainer() {
    auto container = std::make_shared<UIView>();
    container->setTranslatesAutoresizingMaskIntoConstraints(false);
    addSubview(container);
    NSLayoutConstraint::activateConstraints({
        container->leadingAnchor()->constraintEqualToAnchor(m_avatarImageView->trailingAnchor(), 12),
        container->trailingAnchor()->constraintEqualToAnchor(layoutMarginsGuide()->trailingAnchor()),
        container->centerYAnchor()->constraintEqualToAnchor(centerYAnchor()),
    });
    return container;
}

void KVCorvaleCreditCell::buildLabels(const std::shared_ptr<UIView>& container) {
    m_nameLabel = std::make_shared<UILabel>();
    m_nameLabel->setFont(UIFont::systemFontOfSize(16, UIFontWeightMedium));
    m_positionLabel = std::make_shared<UILabel>();

    m_labelStackView = std::make_shared<UIStackView>();
    m_labelStackView->addArrangedSubview(m_positionLabel);
    m_labelStackView->addArrangedSubview(m_nameLabel);
    m_labelStackView->setAxis(UILayoutConstraintAxisVertical);
    m_labelStackView->setSpacing(2);
    m_labelStackView->setAlignment(UIStackViewAlignmentLeading);
    m_labelStackView->setTranslatesAutoresizingMaskIntoConstraints(false);
    container->addSubview(m_labelStackView);
    NSLayoutConstraint::activateConstraints({
        m_labelStackView->leadingAnchor()->constraintEqualToAnchor(container->leadingAnchor()),
        m_labelStackView->trailingAnchor()->constraintEqualToAnchor(container->trailingAnchor()),
        m_labelStackView->topAnchor()->constraintEqualToAnchor(container->topAnchor()),
    });
}

void KVCorvaleCreditCell::buildOptionRow(const std::shared_ptr<UIView>& container) {
    m_optionScrollView = std::make_shared<UIScrollView>();
    m_optionScrollView->setShowsHorizontalScrollIndicator(false);
    m_optionScrollView->setShowsVerticalScrollIndicator(false);
    m_optionScrollView->setTranslatesAutoresizingMaskIntoConstraints(false);
    container->addSubview(m_optionScrollView);
    NSLayoutConstraint::activateConstraints({
        m_optionScrollView->leadingAnchor()->constraintEqualToAnchor(container->leadingAnchor()),
        m_optionScrollView->trailingAnchor()->constraintEqualToAnchor(container->trailingAnchor()),
        m_optionScrollView->topAnchor()->constraintEqualToAnchor(m_labelStackView->bottomAnchor(), 4),
        m_optionScrollView->bottomAnchor()->constraintEqualToAnchor(container->bottomAnchor()),
        m_optionScrollView->heightAnchor()->constraintEqualToConstant(buttonSide),
    });

    m_optionStackView = std::make_shared<UIStackView>();
    m_optionStackView->setAlignment(UIStackViewAlignmentTop);
    m_optionStackView->setAxis(UILayoutConstraintAxisHorizontal);
    m_optionStackView->setSpacing(buttonSpacing);
    m_optionStackView->setTranslatesAutoresizingMaskIntoConstraints(false);
    m_optionScrollView->addSubview(m_optionStackView);
    NSLayoutConstraint::activateConstraints({
        m_optionStackView->leadingAnchor()->constraintEqualToAnchor(m_optionScrollView->leadingAnchor()),
        m_optionStackView->trailingAnchor()->constraintEqualToAnchor(m_optionScrollView->trailingAnchor()),
        m_optionStackView->topAnchor()->constraintEqualToAnchor(m_optionScrollView->topAnchor()),
        m_optionStackView->bottomAnchor()->constraintEqualToAnchor(m_optionScrollView->bottomAnchor()),
        m_optionStackView->heightAnchor()->constraintEqualToAnchor(m_optionScrollView->heightAnchor()),
    });
}

void KVCorvaleCreditCell::parseSpecifiers(const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier)
        return;
    if (const Value name = specifier->propertyForKey("name"); !name.isNull())
        setName(name.stringValue());
    if (const Value position = specifier->propertyForKey("position"); !position.isNull())
        setPosition(position.stringValue());
    if (const Value logo = specifier->propertyForKey("logo"); !logo.isNull() && m_imageManager)
        m_imageManager->startFetchingAsset(logo);
    if (const Value path = specifier->propertyForKey("bundlePath"); !path.isNull())
        m_bundlePath = path.stringValue();

    std::vector<std::shared_ptr<KVCorvaleCreditOption>> options;
    const Value services = specifier->propertyForKey("services");
    if (services.isArray()) {
        for (const Value& entry : services.asArray()) {
            const Value forced = entry["forcedFormattedUsername"];
            options.push_back(KVCorvaleCreditOption::initWithUsername(
                entry["username"].stringValue(),
                KVCorvaleCreditService::serviceWithName(entry["service"].stringValue()),
                forced.isNull() ? std::nullopt : std::optional<std::string>(forced.stringValue())));
        }
    }
    setCreditOptions(std::move(options));
}

void KVCorvaleCreditCell::setCreditOptions(std::vector<std::shared_ptr<KVCorvaleCreditOption>> options) {
    m_creditOptions = std::move(options);
    _doCreditOptions();
}

void KVCorvaleCreditCell::_doCreditOptions() {
    if (!m_optionStackView)
        return;
    const auto previous = m_optionStackView->arrangedSubviews();
    for (const auto& view : previous) {
        m_optionStackView->removeArrangedSubview(view);
        view->removeFromSuperview();
    }
    for (std::size_t index = 0; index < m_creditOptions.size(); ++index) {
        if (m_creditOptions[index])
            m_optionStackView->addArrangedSubview(
                makeButton(*m_creditOptions[index], static_cast<long>(index)));
    }
}

std::shared_ptr<UIButton> KVCorvaleCreditCell::makeButton(const KVCorvaleCreditOption& option, long index) {
    auto button = UIButton::buttonWithType(UIButtonType::System);
    if (const auto& service = option.service())
        button->setImage(imageFromFilename(service->imageName()), UIControlStateNormal);
    button->setAccessibilityLabel(option.getActionTitle().value_or(""));
    button->setTranslatesAutoresizingMaskIntoConstraints(false);
    NSLayoutConstraint::activateConstraints({
        button->heightAnchor()->constraintEqualToConstant(buttonSide),
        button->widthAnchor()->constraintEqualToAnchor(button->heightAnchor()),
    });
    button->setTag(index);
    button->addTarget(selfAs<KVCorvaleCreditCell>(), "buttonTapped:", UIControlEventTouchUpInside);
    return button;
}

void KVCorvaleCreditCell::buttonTapped(const std::shared_ptr<UIButton>& button) {
    if (!button || button->tag() < 0 || static_cast<std::size_t>(button->tag()) >= m_creditOptions.size())
        return;
    if (const auto& option = m_creditOptions[static_cast<std::size_t>(button->tag())])
        option->open();
}

std::shared_ptr<UIImage> KVCorvaleCreditCell::imageFromFilename(const std::string& name) const {
    if (!m_bundlePath || name.empty())
        return nullptr;
    if (auto exact = UIImage::imageWithContentsOfFile(*m_bundlePath + "/" + name))
        return exact;
    // The bundle ships the icons as "<name>@2x.png" and "<name>@3x.png": the variant for the screen.
    return UIImage::imageNamed(name, NSBundle::bundleWithPath(*m_bundlePath), nullptr);
}

void KVCorvaleCreditCell::layoutSubviews() {
    PSTableCell::layoutSubviews();
    setUserInteractionEnabled(true);
    if (m_avatarImageView) {
        const CGSize size = m_avatarImageView->bounds().size;
        m_avatarImageView->layer()->setCornerRadius(std::min(size.width, size.height) / 2);
    }
}

void KVCorvaleCreditCell::creditsImageManagerDidLoadImage(
    const std::shared_ptr<KVCorvaleSettingsCreditsImageManager>&, const std::shared_ptr<UIImage>& image) {
    ++m_picturesInFlight;
    std::weak_ptr<KVCorvaleCreditCell> weakSelf = selfAs<KVCorvaleCreditCell>();
    dispatch_async(dispatch_get_main_queue(), [weakSelf, image] {
        auto self = weakSelf.lock();
        if (!self)
            return;
        if (self->m_avatarImageView)
            self->m_avatarImageView->setImage(image);
        --self->m_picturesInFlight;
    });
}

bool KVCorvaleCreditCell::_pictureSettled() const {
    return (!m_imageManager || m_imageManager->downloadSettled()) && m_picturesInFlight.load() == 0;
}

std::string KVCorvaleCreditCell::name() const {
    return m_nameLabel ? m_nameLabel->text() : std::string();
}

void KVCorvaleCreditCell::setName(std::string name) {
    if (m_nameLabel)
        m_nameLabel->setText(std::move(name));
}

std::string KVCorvaleCreditCell::position() const {
    return m_positionLabel ? m_positionLabel->text() : std::string();
}

void KVCorvaleCreditCell::setPosition(const std::string& position) {
    if (!m_positionLabel)
        return;
    const std::string shown = platform::uppercaseString(position);
    m_positionLabel->setText(shown);
    NSAttributes attributes{
        {std::string(NSFontAttributeName), UIFont::systemFontOfSize(10, UIFontWeightBold)},
        {std::string(NSKernAttributeName), 0.9},
        {std::string(NSForegroundColorAttributeName), UIColor::colorWithWhite(0.6, 1.0)}};
    m_positionLabel->setAttributedText(std::make_shared<NSAttributedString>(shown, attributes));
}
