#include "hosts/preview/AlertHitArea.h"

#include "platform/render/AlertPainter.h"

namespace corvale::preview {

std::optional<std::string> AlertHitArea::actionAt(UIAlertController& alert, CGSize screen, CGPoint point) {
    const auto& actions = alert.actions();
    if (actions.empty())
        return std::nullopt;
    auto layout = platform::render::AlertPainter::layout(alert, screen);
    const CGRect& card = layout.card;
    double x = point.x - card.origin.x;
    double y = point.y - card.origin.y - layout.buttonsTop;
    double buttonsHeight = card.size.height - layout.buttonsTop;
    if (x < 0 || x >= card.size.width || y < 0 || y >= buttonsHeight)
        return std::nullopt;
    // Two short actions share one row, left then right; otherwise each has a row of its own.
    std::size_t index =
        layout.buttonsSideBySide
            ? static_cast<std::size_t>(x / (card.size.width / 2))
            : static_cast<std::size_t>(y / (buttonsHeight / static_cast<double>(actions.size())));
    if (index >= actions.size())
        return std::nullopt;
    return actions[index]->title();
}

} // namespace corvale::preview
