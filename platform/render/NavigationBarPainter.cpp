#include "platform/render/NavigationBarPainter.h"

#include <cairo.h>

#include <algorithm>

#include "platform/render/ImageSurface.h"
#include "platform/render/TextPainter.h"
#include "platform/render/ViewPainter.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITraitCollection.h"

namespace platform::render {

namespace {

constexpr CGFloat sideInset = 16;
constexpr CGFloat hairline = 1.0 / 3;

bool isDarkColor(const DrawColor& color) {
    return color.alpha > 0.3 && (0.299 * color.red + 0.587 * color.green + 0.114 * color.blue) < 0.5;
}

DrawColor barBackground(const DrawingContext& context, const UINavigationBar& bar) {
    bool darkAppearance =
        context.traits() && context.traits()->userInterfaceStyle() == UIUserInterfaceStyle::Dark;
    DrawColor color;
    if (bar.barTintColor())
        color = context.resolve(bar.barTintColor());
    else if (bar.barStyle() != UIBarStyle::Default || darkAppearance)
        color = DrawingContext::rgb(0.07, 0.07, 0.07);
    else
        color = DrawingContext::rgb(0.976, 0.976, 0.976);
    if (bar.isTranslucent())
        color.alpha *= 0.94;
    return color;
}

std::shared_ptr<UINavigationController> controllerOf(const UINavigationBar& bar) {
    for (auto view = bar.superview(); view; view = view->superview())
        if (auto controller = std::dynamic_pointer_cast<UINavigationController>(view->_viewDelegate()))
            return controller;
    return nullptr;
}

CGFloat paintBackItem(const DrawingContext& context, const std::string& title, CGRect bar,
                      const DrawColor& tint) {
    cairo_t* cr = context.cairo();
    CGFloat midY = CGRectGetMidY(bar);
    {
        SavedState saved(cr);
        cairo_set_line_width(cr, 3);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, bar.origin.x + 18, midY - 10);
        cairo_line_to(cr, bar.origin.x + 9, midY);
        cairo_line_to(cr, bar.origin.x + 18, midY + 10);
        context.setSource(tint);
        cairo_stroke(cr);
    }
    TextPainter::Style style{UIFont::systemFontOfSize(17), tint, NSTextAlignmentLeft, 1};
    CGFloat width = std::min<CGFloat>(TextPainter::measureWidth(title, style), bar.size.width / 3);
    CGFloat height = TextPainter::measureHeight(title, width + 1, style);
    TextPainter::paintText(context, title, {{bar.origin.x + 26, midY - height / 2}, {width + 1, height}},
                           style);
    return bar.origin.x + 26 + width;
}

CGFloat paintRightItem(const DrawingContext& context, ViewPainter& painter, const UIBarButtonItem& item,
                       CGRect bar, const DrawColor& tint) {
    CGFloat right = CGRectGetMaxX(bar) - sideInset;
    CGFloat midY = CGRectGetMidY(bar);
    DrawColor color = item.tintColor() ? context.resolve(item.tintColor()) : tint;
    if (!item.isEnabled())
        color.alpha *= 0.35;
    if (const auto& view = item.customView()) {
        CGSize size = view->bounds().size;
        SavedState saved(context.cairo());
        cairo_translate(context.cairo(), right - size.width - view->bounds().origin.x,
                        midY - size.height / 2 - view->bounds().origin.y);
        painter.paintInOwnSpace(*view, view->alpha());
        return right - size.width;
    }
    if (const auto& image = item.image()) {
        CGSize size = image->size();
        CGFloat scale = size.height > 24 ? 24 / size.height : 1;
        CGRect rect{{right - size.width * scale, midY - size.height * scale / 2},
                    {size.width * scale, size.height * scale}};
        // Bar images are templates: drawn in the tint through their alpha.
        cairo_t* cr = context.cairo();
        cairo_push_group(cr);
        ImageSurface::draw(cr, *image, rect);
        cairo_pattern_t* shape = cairo_pop_group(cr);
        context.setSource(color);
        cairo_mask(cr, shape);
        cairo_pattern_destroy(shape);
        return rect.origin.x;
    }
    TextPainter::Style style{
        UIFont::systemFontOfSize(17, item.style() == UIBarButtonItemStyle::Done ? UIFontWeightSemibold : 0),
        color, NSTextAlignmentRight, 1};
    CGFloat width = std::min<CGFloat>(TextPainter::measureWidth(item.title(), style) + 1, bar.size.width / 3);
    CGFloat height = TextPainter::measureHeight(item.title(), width, style);
    TextPainter::paintText(context, item.title(), {{right - width, midY - height / 2}, {width, height}},
                           style);
    return right - width;
}

} // namespace

void NavigationBarPainter::paint(UINavigationBar& bar, ViewPainter& painter) {
    const DrawingContext& context = painter.context();
    CGRect bounds = bar.bounds();
    DrawColor background = barBackground(context, bar);
    // The bar's background also fills the status bar above it.
    CGFloat reach = std::max<CGFloat>(0, bar.frame().origin.y);
    context.fillRect(
        {{bounds.origin.x, bounds.origin.y - reach}, {bounds.size.width, bounds.size.height + reach}},
        background);
    bool darkBar = isDarkColor(background);
    if (bar.showsShadowHairline())
        context.fillRect({{bounds.origin.x, CGRectGetMaxY(bounds) - hairline}, {bounds.size.width, hairline}},
                         DrawingContext::rgb(0, 0, 0, darkBar ? 0.6 : 0.3));

    auto navigation = controllerOf(bar);
    // A navigation controller may show another one as its page (the Settings app's holds the pane's):
    // the bar shows the innermost page, and goes back within the innermost stack that can.
    std::shared_ptr<UIViewController> top = navigation;
    std::shared_ptr<UIViewController> previous;
    while (auto nested = std::dynamic_pointer_cast<UINavigationController>(top)) {
        const auto& stack = nested->viewControllers();
        if (stack.size() > 1)
            previous = stack[stack.size() - 2];
        top = nested->topViewController();
    }
    if (!top)
        return;
    DrawColor tint = context.resolve(bar.tintColor());
    DrawColor ink = darkBar ? DrawingContext::rgb(1, 1, 1) : DrawingContext::rgb(0, 0, 0);
    CGFloat left = bounds.origin.x + sideInset, right = CGRectGetMaxX(bounds) - sideInset;
    if (previous) {
        std::string title = previous->navigationItem()->backButtonTitle();
        if (title.empty())
            title = previous->navigationItem()->title().empty() ? previous->title()
                                                                : previous->navigationItem()->title();
        left = paintBackItem(context, title.empty() ? "Back" : title, bounds, tint) + 8;
    }
    auto item = top->navigationItem();
    if (auto rightItem = item->rightBarButtonItem())
        right = paintRightItem(context, painter, *rightItem, bounds, tint) - 8;

    CGFloat room =
        std::max<CGFloat>(0, 2 * std::min(CGRectGetMidX(bounds) - left, right - CGRectGetMidX(bounds)));
    if (const auto& titleView = item->titleView()) {
        CGSize size = titleView->bounds().size;
        SavedState saved(context.cairo());
        cairo_translate(context.cairo(),
                        CGRectGetMidX(bounds) - size.width / 2 - titleView->bounds().origin.x,
                        CGRectGetMidY(bounds) - size.height / 2 - titleView->bounds().origin.y);
        painter.paintInOwnSpace(*titleView, titleView->isHidden() ? 0 : titleView->alpha());
        return;
    }
    std::string title = item->title().empty() ? top->title() : item->title();
    TextPainter::Style style{UIFont::systemFontOfSize(17, UIFontWeightSemibold), ink, NSTextAlignmentCenter,
                             1};
    CGFloat height = TextPainter::measureHeight(title, room, style);
    TextPainter::paintText(
        context, title,
        {{CGRectGetMidX(bounds) - room / 2, CGRectGetMidY(bounds) - height / 2}, {room, height}}, style);
}

} // namespace platform::render
