#pragma once

class UIView;

namespace platform::render {

class ViewPainter;

// Draws what a view of a known kind shows beyond its layer: a label's text, an image view's
// picture, a control's look, a table in the grouped list style, a navigation bar. Returns true
// when it also drew the view's subviews (the caller then leaves them alone).
class ContentPainter {
public:
    static bool paint(UIView& view, ViewPainter& painter);
};

} // namespace platform::render
