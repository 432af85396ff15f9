#pragma once

#include <cstddef>
#include <memory>

#include "platform/render/DrawingContext.h"

class UIAlertAction;
class UIAlertController;
class UIWindow;

namespace platform::render {

class ViewPainter;

// A presented alert as the device draws it: the screen dimmed, a 270-point rounded card centred on
// it with the header content (when the alert has one) above a bold title and the message, and the
// actions as buttons below hairlines, side by side when there are two.
class AlertPainter {
public:
    // The alert presented last from the window's controllers (root, children, presented ones).
    static std::shared_ptr<UIAlertController> presentedAlert(UIWindow& window);
    static void paint(const DrawingContext& context, ViewPainter& painter, UIAlertController& alert,
                      CGSize screen);

    // Where the card's parts go on a screen of this size (for tests and hit areas).
    struct Layout {
        CGRect card;
        CGFloat headerHeight = 0;
        CGFloat titleTop = 0, titleHeight = 0;
        CGFloat messageTop = 0, messageHeight = 0;
        CGFloat buttonsTop = 0;
        bool buttonsSideBySide = false;
    };
    static Layout layout(UIAlertController& alert, CGSize screen);
    // The action whose button is drawn under `point` (screen points); nil elsewhere. The alert is drawn
    // over the window rather than built of views, so a touch finds its buttons here.
    static std::shared_ptr<UIAlertAction> actionAt(UIAlertController& alert, CGSize screen, CGPoint point);
    // Where the button of the action at `index` is drawn, in screen points; null past the last action.
    static CGRect frameOfAction(UIAlertController& alert, CGSize screen, std::size_t index);
};

} // namespace platform::render
