#include "followprompt/alert/ZRMerrowAlertController.h"

#include "followprompt/alert/ZRMerrowAlertHeaderViewController.h"
#include "platform/foundation/NSProcessInfo.h"
#include "platform/foundation/NSURL.h"
#include "platform/uikit/NSMutableAttributedString.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIWindow.h"

namespace {

[[maybe_unused]] const Class registeredAlertController =
    platform::registerClass<ZRMerrowAlertController, UIAlertController>("ZRMerrowAlertController");

bool runsAtLeast(std::int64_t major) {
    return NSProcessInfo::processInfo().isOperatingSystemAtLeastVersion({major, 0, 0});
}

// Texts from the manifest are cut to what an alert can show: laying out megabytes of text would
// hold SpringBoard's main thread for seconds.
constexpr std::size_t maximumTitleCharacters = 200;
constexpr std::size_t maximumMessageCharacters = 2000;

// The first `maximum` characters (UTF-8 sequences) of the text, with an ellipsis when it was longer.
std::string shortened(const std::string& text, std::size_t maximum) {
    std::size_t characters = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const bool startsCharacter = (static_cast<unsigned char>(text[index]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == maximum)
            return text.substr(0, index) + "\xE2\x80\xA6";
    }
    return text;
}

// Optional strings of another type count as absent.
std::string stringOrEmpty(const Value& value, std::size_t maximum = maximumTitleCharacters) {
    return value.isString() ? shortened(value.asString(), maximum) : std::string();
}

std::shared_ptr<UIColor> footerColor() {
    if (runsAtLeast(13))
        return UIColor::secondaryLabelColor();
    return UIColor::colorWithRed(0.235, 0.235, 0.263, 0.6);
}

} // namespace

std::shared_ptr<ZRMerrowAlertController>
ZRMerrowAlertController::alertControllerWithTitle(std::string title, std::string message,
                                                  UIAlertControllerStyle style) {
    auto alert = std::make_shared<ZRMerrowAlertController>();
    alert->_initWithTitle(std::move(title), std::move(message), style);
    return alert;
}

std::shared_ptr<ZRMerrowAlertController>
ZRMerrowAlertController::merrowAlertControllerWithManifest(const Value& manifest) {
    const Value& alertInfo = manifest["alert"];
    // The message is a placeholder until the attributed one replaces it.
    auto alert =
        alertControllerWithTitle(stringOrEmpty(alertInfo["title"]), "a", UIAlertControllerStyle::Alert);
    alert->setMessageFromAlertInfo(alertInfo);
    alert->addActionsFromAlertInfo(alertInfo);
    if (runsAtLeast(12) && manifest["header"].isDictionary()) {
        auto header = std::make_shared<ZRMerrowAlertHeaderViewController>();
        header->initWitHeaderInfo(manifest["header"]);
        alert->_setHeaderContentViewController(header);
    }
    alert->m_manifest = manifest;
    return alert;
}

std::shared_ptr<UIAlertControllerVisualStyle> ZRMerrowAlertController::currentVisualStyle() const {
    if (runsAtLeast(13))
        return _visualStyle();
    std::shared_ptr<UITraitCollection> traits;
    if (auto window = UIApplication::sharedApplication()->keyWindow())
        traits = window->traitCollection();
    auto style = visualStyleForAlertControllerStyle(preferredStyle(), traits, _currentDescriptor());
    if (style)
        style->setDescriptor(_currentDescriptor());
    return style;
}

void ZRMerrowAlertController::setMessageFromAlertInfo(const Value& alertInfo) {
    auto style = currentVisualStyle();
    NSAttributes bodyAttributes;
    if (style) {
        bodyAttributes[std::string(NSFontAttributeName)] = style->messageLabelFont();
        bodyAttributes[std::string(NSForegroundColorAttributeName)] = style->messageLabelColor();
    }
    auto message = std::make_shared<NSMutableAttributedString>(
        shortened(alertInfo["body"].stringValue(), maximumMessageCharacters), bodyAttributes);
    if (alertInfo["footer"].isString()) {
        NSAttributes footerAttributes{
            {std::string(NSFontAttributeName), UIFont::preferredFontForTextStyle(UIFontTextStyleCaption2)},
            {std::string(NSForegroundColorAttributeName), footerColor()},
        };
        message->appendAttributedString(NSAttributedString(
            "\n\n" + shortened(alertInfo["footer"].asString(), maximumMessageCharacters), footerAttributes));
    }
    _setAttributedMessage(message);
}

void ZRMerrowAlertController::addActionsFromAlertInfo(const Value& alertInfo) {
    const Value& callToAction = alertInfo["call_to_action"];
    if (callToAction.isDictionary()) {
        const std::string address = callToAction["url"].isString() ? callToAction["url"].asString() : "";
        auto action = UIAlertAction::actionWithTitle(
            stringOrEmpty(callToAction["title"]), UIAlertActionStyle::Default, [address](const auto&) {
                UIApplication::sharedApplication()->openURL(NSURL::URLWithString(address),
                                                            Value::dictionary(), nullptr);
            });
        addAction(action);
        setPreferredAction(action);
    }
    addAction(UIAlertAction::actionWithTitle(
        shortened(alertInfo["rejection_title"].stringValue(), maximumTitleCharacters),
        UIAlertActionStyle::Default, nullptr));
}

bool ZRMerrowAlertController::isAllowedToShowBasedOnManifest() const {
    const Value& check = m_manifest["display_check_url"];
    if (check.isNull())
        return true;
    auto url = check.isString() ? NSURL::URLWithString(check.asString()) : nullptr;
    if (!url)
        return true;
    return UIApplication::sharedApplication()->canOpenURL(url);
}

void ZRMerrowAlertController::viewWillAppear(bool animated) {
    UIAlertController::viewWillAppear(animated);
    unclipHeaderContainer();
}

void ZRMerrowAlertController::viewDidAppear(bool animated) {
    UIAlertController::viewDidAppear(animated);
    unclipHeaderContainer();
}

void ZRMerrowAlertController::unclipHeaderContainer() {
    if (!runsAtLeast(12))
        return;
    auto header = _headerContentViewController();
    auto headerView = header ? header->viewIfLoaded() : nullptr;
    if (auto container = headerView ? headerView->superview() : nullptr)
        container->setClipsToBounds(false);
}
