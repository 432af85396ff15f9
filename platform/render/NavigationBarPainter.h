#pragma once

class UINavigationBar;

namespace platform::render {

class ViewPainter;

// A navigation bar: its background (bar tint, else the bar style's, a touch see-through when
// translucent) reaching up under the status bar, the bottom hairline, the top page's title or title
// view, a back chevron with the previous page's title, and the right bar button item.
class NavigationBarPainter {
public:
    static void paint(UINavigationBar& bar, ViewPainter& painter);
};

} // namespace platform::render
