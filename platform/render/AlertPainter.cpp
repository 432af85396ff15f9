#include "platform/render/AlertPainter.h"

#include <cairo.h>

#include <algorithm>

#include "platform/render/TextPainter.h"
#include "platform/render/ViewPainter.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

namespace platform::render {

namespace {

constexpr CGFloat cardWidth = 270;
constexpr CGFloat cornerRadius = 13;
constexpr CGFloat textInset = 16;
constexpr CGFloat textTop = 20;
constexpr CGFloat textBottom = 20;
constexpr CGFloat titleToMessage = 3;
constexpr CGFloat buttonHeight = 44;
constexpr CGFloat hairline = 1.0 / 3;
constexpr CGFloat buttonTextInset = 8;

bool isDark(const DrawingContext& context) {
    return context.traits() && context.traits()->userInterfaceStyle() == UIUserInterfaceStyle::Dark;
}

TextPainter::Style titleStyle(const DrawColor& ink) {
    return {UIFont::systemFontOfSize(17, UIFontWeightSemibold), ink, NSTextAlignmentCenter, 0};
}

TextPainter::Style messageStyle(const DrawColor& ink) {
    return {UIFont::systemFontOfSize(13), ink, NSTextAlignmentCenter, 0};
}

std::shared_ptr<UIAlertController> alertAmong(const std::shared_ptr<UIViewController>& controller,
                                              int depth) {
    if (!controller || depth > 32)
        return nullptr;
    std::shared_ptr<UIAlertController> found;
    for (const auto& child : controller->childViewControllers())
        if (auto alert = alertAmong(child, depth + 1))
            found = alert;
    if (auto presented = controller->presentedViewController()) {
        if (auto alert = alertAmong(presented, depth + 1))
            found = alert;
        else if (auto own = std::dynamic_pointer_cast<UIAlertController>(presented))
            found = own;
    }
    return found;
}

CGFloat headerHeightOf(UIAlertController& alert) {
    auto view = alert.viewIfLoaded();
    if (!view || !alert._headerContentViewController())
        return 0;
    return std::max<CGFloat>(0, view->bounds().size.height);
}

std::string messageText(UIAlertController& alert) {
    if (auto attributed = alert._attributedMessage())
        return attributed->string();
    return alert.message();
}

DrawColor actionColor(const DrawingContext& context, UIAlertController& alert, const UIAlertAction& action) {
    if (action.style() == UIAlertActionStyle::Destructive)
        return DrawingContext::rgb(1, 0.231, 0.188);
    auto tint = alert.viewIfLoaded() ? alert.viewIfLoaded()->tintColor() : UIColor::systemBlueColor();
    DrawColor color = context.resolve(tint);
    return action.isEnabled() ? color : color.withAlpha(color.alpha * 0.35);
}

bool isBold(UIAlertController& alert, const std::shared_ptr<UIAlertAction>& action) {
    if (auto preferred = alert.preferredAction())
        return preferred == action;
    return action->style() == UIAlertActionStyle::Cancel;
}

TextPainter::Style actionStyle(UIAlertController& alert, const std::shared_ptr<UIAlertAction>& action,
                               const DrawColor& ink) {
    return {UIFont::systemFontOfSize(17, isBold(alert, action) ? UIFontWeightSemibold : 0), ink,
            NSTextAlignmentCenter, 1};
}

// Two actions share a row only when both titles fit their half whole; otherwise they stack, as the
// device does, rather than cutting a title short.
bool actionsFitSideBySide(UIAlertController& alert) {
    const auto& actions = alert.actions();
    if (actions.size() != 2)
        return false;
    CGFloat room = cardWidth / 2 - 2 * buttonTextInset;
    return std::all_of(actions.begin(), actions.end(), [&](const std::shared_ptr<UIAlertAction>& action) {
        return TextPainter::measureWidth(action->title(), actionStyle(alert, action, {})) <= room;
    });
}

} // namespace

std::shared_ptr<UIAlertController> AlertPainter::presentedAlert(UIWindow& window) {
    return alertAmong(window.rootViewController(), 0);
}

AlertPainter::Layout AlertPainter::layout(UIAlertController& alert, CGSize screen) {
    Layout layout;
    DrawColor ink;
    CGFloat textWidth = cardWidth - 2 * textInset;
    layout.headerHeight = headerHeightOf(alert);
    CGFloat y = layout.headerHeight;
    bool hasTitle = !alert.title().empty();
    std::string message = messageText(alert);
    bool hasText = hasTitle || !message.empty();
    if (hasText)
        y += textTop;
    layout.titleTop = y;
    layout.titleHeight = hasTitle ? TextPainter::measureHeight(alert.title(), textWidth, titleStyle(ink)) : 0;
    y += layout.titleHeight;
    if (hasTitle && !message.empty())
        y += titleToMessage;
    layout.messageTop = y;
    if (auto attributed = alert._attributedMessage())
        layout.messageHeight = TextPainter::measureHeight(attributed->string(), textWidth, messageStyle(ink));
    else
        layout.messageHeight =
            message.empty() ? 0 : TextPainter::measureHeight(message, textWidth, messageStyle(ink));
    y += layout.messageHeight;
    if (hasText)
        y += textBottom;
    layout.buttonsTop = y;
    std::size_t actionCount = alert.actions().size();
    layout.buttonsSideBySide = actionsFitSideBySide(alert);
    y += layout.buttonsSideBySide ? buttonHeight : buttonHeight * static_cast<CGFloat>(actionCount);

    // A card with a header keeps the header above the screen's centre line, where the alert's view
    // sits; one without is centred as a whole.
    CGFloat top = layout.headerHeight > 0 ? screen.height / 2 - layout.headerHeight : (screen.height - y) / 2;
    if (auto view = alert.viewIfLoaded(); view && layout.headerHeight > 0)
        top = view->frame().origin.y;
    layout.card = {{(screen.width - cardWidth) / 2, top}, {cardWidth, y}};
    return layout;
}

void AlertPainter::paint(const DrawingContext& context, ViewPainter& painter, UIAlertController& alert,
                         CGSize screen) {
    cairo_t* cr = context.cairo();
    bool dark = isDark(context);
    context.fillRect({CGPointZero, screen}, DrawingContext::rgb(0, 0, 0, dark ? 0.48 : 0.2));
    Layout parts = layout(alert, screen);
    CGRect card = parts.card;
    SavedState saved(cr);
    context.roundedRect(card, cornerRadius);
    cairo_clip(cr);
    context.fillRect(card,
                     dark ? DrawingContext::rgb(0.17, 0.17, 0.18) : DrawingContext::rgb(0.96, 0.96, 0.96));

    if (auto view = alert.viewIfLoaded(); view && parts.headerHeight > 0) {
        SavedState header(cr);
        cairo_translate(cr, card.origin.x, card.origin.y);
        painter.paintInOwnSpace(*view, 1);
    }

    DrawColor ink = dark ? DrawingContext::rgb(1, 1, 1) : DrawingContext::rgb(0, 0, 0);
    CGFloat textX = card.origin.x + textInset, textWidth = cardWidth - 2 * textInset;
    if (!alert.title().empty())
        TextPainter::paintText(context, alert.title(),
                               {{textX, card.origin.y + parts.titleTop}, {textWidth, 0}}, titleStyle(ink));
    CGRect messageBox{{textX, card.origin.y + parts.messageTop}, {textWidth, 0}};
    if (auto attributed = alert._attributedMessage())
        TextPainter::paintAttributedText(context, *attributed, messageBox, messageStyle(ink));
    else if (!alert.message().empty())
        TextPainter::paintText(context, alert.message(), messageBox, messageStyle(ink));

    DrawColor separator =
        dark ? DrawingContext::rgb(0.33, 0.33, 0.35, 0.6) : DrawingContext::rgb(0.24, 0.24, 0.26, 0.29);
    const auto& actions = alert.actions();
    for (std::size_t index = 0; index < actions.size(); ++index) {
        CGRect button = parts.buttonsSideBySide
                            ? CGRect{{card.origin.x + cardWidth / 2 * static_cast<CGFloat>(index),
                                      card.origin.y + parts.buttonsTop},
                                     {cardWidth / 2, buttonHeight}}
                            : CGRect{{card.origin.x, card.origin.y + parts.buttonsTop +
                                                         buttonHeight * static_cast<CGFloat>(index)},
                                     {cardWidth, buttonHeight}};
        context.fillRect({button.origin, {button.size.width, hairline}}, separator);
        if (parts.buttonsSideBySide && index == 1)
            context.fillRect({button.origin, {hairline, buttonHeight}}, separator);
        const auto& action = actions[index];
        TextPainter::Style style = actionStyle(alert, action, actionColor(context, alert, *action));
        CGFloat textWidth = button.size.width - 2 * buttonTextInset;
        CGFloat height = TextPainter::measureHeight(action->title(), textWidth, style);
        TextPainter::paintText(
            context, action->title(),
            {{button.origin.x + buttonTextInset, button.origin.y + (buttonHeight - height) / 2},
             {textWidth, height}},
            style);
    }
}

CGRect AlertPainter::frameOfAction(UIAlertController& alert, CGSize screen, std::size_t index) {
    const auto count = alert.actions().size();
    if (index >= count)
        return CGRectNull;
    auto parts = layout(alert, screen);
    const CGRect& card = parts.card;
    CGFloat top = card.origin.y + parts.buttonsTop;
    CGFloat height = card.size.height - parts.buttonsTop;
    // Two actions side by side share one row, left then right; otherwise each has a row of its own.
    if (parts.buttonsSideBySide) {
        CGFloat width = card.size.width / static_cast<CGFloat>(count);
        return {{card.origin.x + width * static_cast<CGFloat>(index), top}, {width, height}};
    }
    CGFloat rowHeight = height / static_cast<CGFloat>(count);
    return {{card.origin.x, top + rowHeight * static_cast<CGFloat>(index)}, {card.size.width, rowHeight}};
}

std::shared_ptr<UIAlertAction> AlertPainter::actionAt(UIAlertController& alert, CGSize screen, CGPoint point) {
    const auto& actions = alert.actions();
    for (std::size_t index = 0; index < actions.size(); ++index)
        if (CGRectContainsPoint(frameOfAction(alert, screen, index), point))
            return actions[index];
    return nullptr;
}

} // namespace platform::render
