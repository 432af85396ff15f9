#include "platform/render/ScreenRenderer.h"

#include <cairo.h>

#include "platform/render/AlertPainter.h"
#include "platform/render/StatusBarPainter.h"
#include "platform/render/ViewPainter.h"
#include "platform/uikit/ResolvingTraits.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIViewController.h"
#include "platform/uikit/UIWindow.h"

namespace platform::render {

namespace {

void report(std::string* error, std::string message) {
    if (error)
        *error = std::move(message);
}

std::optional<Canvas> canvasFor(CGSize size, double scale, std::string* error) {
    auto canvas = Canvas::create(size, scale);
    if (!canvas)
        report(error, "cannot draw " + std::to_string(size.width) + " x " + std::to_string(size.height) +
                          " points at scale " + std::to_string(scale));
    return canvas;
}

bool isAlertCard(const UIView& view) {
    return dynamic_cast<UIAlertController*>(view._viewDelegate().get()) != nullptr;
}

} // namespace

std::optional<Canvas> renderWindow(UIWindow& window, double scale, std::string* error) {
    window.layoutIfNeeded();
    CGRect bounds = window.bounds();
    auto canvas = canvasFor(bounds.size, scale, error);
    if (!canvas)
        return canvas;
    auto traits = window.traitCollection();
    traits->performAsCurrentTraitCollection([&] {
        DrawingContext context(canvas->context(), traits);
        // The window's own backdrop: black, as the screen behind an app.
        context.fillRect({CGPointZero, bounds.size}, DrawingContext::rgb(0, 0, 0));
        ViewPainter painter(context);
        painter.setSkipPredicate(isAlertCard);
        cairo_translate(context.cairo(), -bounds.origin.x, -bounds.origin.y);
        painter.paintInOwnSpace(window, 1);
        cairo_identity_matrix(context.cairo());
        cairo_scale(context.cairo(), scale, scale);
        StatusBarPainter::paint(context, window);
        if (auto alert = AlertPainter::presentedAlert(window))
            AlertPainter::paint(context, painter, *alert, bounds.size);
    });
    return canvas;
}

std::optional<Canvas> renderView(UIView& view, double scale, std::string* error) {
    CGRect bounds = view.bounds();
    auto canvas = canvasFor(bounds.size, scale, error);
    if (!canvas)
        return canvas;
    auto traits = completedTraitCollection(view.traitCollection());
    traits->performAsCurrentTraitCollection([&] {
        DrawingContext context(canvas->context(), traits);
        ViewPainter painter(context);
        cairo_translate(context.cairo(), -bounds.origin.x, -bounds.origin.y);
        painter.paintInOwnSpace(view, view.alpha());
    });
    return canvas;
}

bool renderWindowToPNG(UIWindow& window, double scale, const std::string& path, std::string* error) {
    auto canvas = renderWindow(window, scale, error);
    return canvas && canvas->writePNG(path, error);
}

} // namespace platform::render
