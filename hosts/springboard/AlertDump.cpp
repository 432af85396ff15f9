#include "hosts/springboard/AlertDump.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "platform/uikit/CALayer.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

namespace corvale::springboardhost {

namespace {

using json = nlohmann::ordered_json;

json rectJSON(CGRect rect) {
    return json::array({rect.origin.x, rect.origin.y, rect.size.width, rect.size.height});
}

std::shared_ptr<UIView> findView(const std::shared_ptr<UIView>& root, std::string_view className) {
    if (!root)
        return nullptr;
    if (std::string_view(root->className()) == className)
        return root;
    for (const auto& subview : root->subviews())
        if (auto found = findView(subview, className))
            return found;
    return nullptr;
}

// The picture an image view shows, by its decoded pixel size; null when it shows none.
json pictureJSON(const std::shared_ptr<UIView>& view) {
    auto imageView = std::dynamic_pointer_cast<UIImageView>(view);
    auto image = imageView ? imageView->image() : nullptr;
    if (!image || !image->bitmap())
        return nullptr;
    return json::array({image->bitmap()->width(), image->bitmap()->height()});
}

json runJSON(const NSAttributedString& message, std::size_t index) {
    NSRange range{};
    const auto attributes = message.attributesAtIndex(index, &range);
    json run;
    if (auto font = NSAttributedString::fontIn(attributes))
        run["fontSize"] = font->pointSize();
    if (auto color = NSAttributedString::colorIn(attributes, NSForegroundColorAttributeName))
        run["color"] = color->description();
    return run;
}

json namesJSON(const std::shared_ptr<UIView>& cloud) {
    std::vector<std::shared_ptr<UILabel>> labels;
    for (const auto& subview : cloud->subviews())
        if (auto label = std::dynamic_pointer_cast<UILabel>(subview))
            labels.push_back(label);
    std::stable_sort(labels.begin(), labels.end(), [](const auto& a, const auto& b) {
        return a->tag() != b->tag() ? a->tag() < b->tag() : a->center().x < b->center().x;
    });
    json names = json::array();
    for (const auto& label : labels) {
        const auto presented = label->layer()->presentationLayer();
        names.push_back({
            {"row", label->tag()},
            {"text", label->text()},
            {"fontSize", label->font() ? label->font()->pointSize() : 0.0},
            {"alpha", label->alpha()},
            {"shownAlpha", presented ? presented->opacity() : label->alpha()},
            {"center", json::array({label->center().x, label->center().y})},
        });
    }
    return names;
}

} // namespace

json AlertDump::describe(const std::shared_ptr<UIAlertController>& alert) {
    if (!alert)
        return nullptr;
    json actions = json::array();
    for (const auto& action : alert->actions())
        actions.push_back({{"title", action->title()}, {"style", static_cast<int>(action->style())}});
    auto preferred = alert->preferredAction();
    auto header = alert->_headerContentViewController();
    json description{
        {"class", alert->className()},
        {"title", alert->title()},
    };
    description.update(describeMessage(*alert));
    description["actions"] = actions;
    description["preferredAction"] = preferred ? json(preferred->title()) : json(nullptr);
    description["hasHeader"] = header != nullptr;
    description["header"] = header ? describeHeader(header->view()) : json(nullptr);
    return description;
}

json AlertDump::describeMessage(const UIAlertController& alert) {
    auto attributed = alert._attributedMessage();
    const std::string text = attributed ? attributed->string() : alert.message();
    json message{{"message", text}};
    const auto split = text.find("\n\n");
    message["body"] = text.substr(0, split);
    if (attributed && attributed->length() > 0)
        message["bodyStyle"] = runJSON(*attributed, 0);
    if (split == std::string::npos || !attributed) {
        message["footer"] = nullptr;
        return message;
    }
    json footer{{"text", text.substr(split + 2)}};
    footer.update(runJSON(*attributed, attributed->length() - 1));
    message["footer"] = footer;
    return message;
}

json AlertDump::describeHeader(const std::shared_ptr<UIView>& headerView) {
    json header{{"frame", rectJSON(headerView->frame())}};
    auto avatar = findView(headerView, "ZRMerrowAvatarView");
    header["avatarFrame"] =
        avatar ? rectJSON(avatar->convertRect(avatar->bounds(), headerView)) : json(nullptr);
    header["avatarCornerRadius"] = avatar ? json(avatar->layer()->cornerRadius()) : json(nullptr);
    header["avatarPicture"] = pictureJSON(avatar);
    json icon = nullptr;
    json iconPicture = nullptr;
    if (auto group = findView(headerView, "ZRMerrowTwitterAvatarDisplayView");
        group && group->subviews().size() > 1) {
        const auto& view = group->subviews()[1];
        icon = rectJSON(view->convertRect(view->bounds(), headerView));
        iconPicture = pictureJSON(view);
    }
    header["iconFrame"] = icon;
    header["iconPicture"] = iconPicture;
    auto cloud = findView(headerView, "ZRMerrowAlertHeaderAnimatedBackgroundView");
    header["cloudFrame"] = cloud ? rectJSON(cloud->convertRect(cloud->bounds(), headerView)) : json(nullptr);
    header["names"] = cloud ? namesJSON(cloud) : json::array();
    return header;
}

} // namespace corvale::springboardhost
