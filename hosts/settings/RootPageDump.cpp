#include "hosts/settings/RootPageDump.h"

#include "platform/runtime/ObjCRuntime.h"
#include "hosts/settings/PageDump.h"
#include "hosts/common/ValueJSON.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIStackView.h"
#include "platform/uikit/UIWindow.h"

namespace corvale::settingshost {

namespace {

bool answers(const id& object, std::string_view selector) {
    return object && class_respondsToSelector(object_getClass(object), selector);
}

std::string labelText(const std::shared_ptr<UILabel>& label) {
    if (!label)
        return {};
    if (auto attributed = label->attributedText())
        return attributed->string();
    return label->text();
}

std::shared_ptr<UINavigationController>
outermostNavigationController(const std::shared_ptr<PSListController>& page) {
    auto navigation = page->navigationController();
    while (navigation && navigation->navigationController())
        navigation = navigation->navigationController();
    return navigation;
}

} // namespace

nlohmann::ordered_json RootPageDump::header(const std::shared_ptr<PSListController>& page) {
    if (!answers(page, "headerView"))
        return nullptr;
    auto headerView = objc_msgSend(page, "headerView").objectAs<UIView>();
    if (!headerView)
        return nullptr;
    auto pageView = page->view();
    if (auto window = pageView->window())
        window->layoutIfNeeded();
    const CGRect frame = headerView->convertRect(headerView->bounds(), pageView);
    const CGRect guide = page->topLayoutGuide()->layoutFrame();
    return {{"company", labelText(objc_msgSend(page, "_companyLabel").objectAs<UILabel>())},
            {"title", labelText(objc_msgSend(page, "_titleLabel").objectAs<UILabel>())},
            {"height", frame.size.height},
            {"topOffset", frame.origin.y - CGRectGetMaxY(guide)}};
}

nlohmann::ordered_json RootPageDump::titleView(const std::shared_ptr<PSListController>& page) {
    id view = page->navigationItem()->titleView();
    if (!answers(view, "showingIcon"))
        return nullptr;
    return {{"title", hosts::ValueJSON::from(objc_msgSend(view, "title").value())},
            {"subtitle", hosts::ValueJSON::from(objc_msgSend(view, "subtitle").value())},
            {"showingIcon", objc_msgSend(view, "showingIcon").value().boolValue()},
            {"whiteText", objc_msgSend(view, "whiteText").value().boolValue()}};
}

nlohmann::ordered_json RootPageDump::bars(const std::shared_ptr<PSListController>& page) {
    auto navigation = outermostNavigationController(page);
    const auto statusBarStyle = static_cast<int>(UIApplication::sharedApplication()->statusBarStyle());
    if (!navigation)
        return {{"statusBarStyle", statusBarStyle}};
    const auto& bar = navigation->navigationBar();
    auto traits = page->traitCollection();
    return {{"barTintColour", PageDump::colour(bar->barTintColor(), traits)},
            {"tintColour", PageDump::colour(bar->ownTintColor(), traits)},
            {"barStyle", static_cast<int>(bar->barStyle())},
            {"translucent", bar->isTranslucent()},
            {"hairline", bar->showsShadowHairline()},
            {"statusBarStyle", statusBarStyle}};
}

nlohmann::ordered_json RootPageDump::rightBarButton(const std::shared_ptr<PSListController>& page) {
    const auto& item = page->navigationItem()->rightBarButtonItem();
    if (!item)
        return nullptr;
    const auto& image = item->image();
    return {{"image", image ? nlohmann::ordered_json(image->name()) : nlohmann::ordered_json(nullptr)},
            {"action", item->action()}};
}

nlohmann::ordered_json RootPageDump::credit(const std::shared_ptr<PSListController>& page,
                                            const std::shared_ptr<NSIndexPath>& indexPath) {
    id cell = page->table()->cellForRowAtIndexPath(indexPath);
    if (!answers(cell, "optionStackView"))
        return nullptr;
    auto buttons = nlohmann::ordered_json::array();
    if (auto stack = objc_msgSend(cell, "optionStackView").objectAs<UIStackView>())
        for (const auto& button : stack->arrangedSubviews())
            buttons.push_back(button->accessibilityLabel());
    auto avatar = objc_msgSend(cell, "avatarImageView").objectAs<UIImageView>();
    auto picture = avatar ? avatar->image() : nullptr;
    // Pixels as decoded, which may be fewer than the picture's file holds.
    auto pixels =
        picture && picture->bitmap()
            ? nlohmann::ordered_json::array({picture->bitmap()->width(), picture->bitmap()->height()})
            : nlohmann::ordered_json(nullptr);
    return {{"name", objc_msgSend(cell, "name").value().stringValue()},
            {"position", objc_msgSend(cell, "position").value().stringValue()},
            {"buttons", buttons},
            {"pictureSet", picture != nullptr},
            {"picturePixels", pixels}};
}

} // namespace corvale::settingshost
