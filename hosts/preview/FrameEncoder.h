#pragma once

#include <string>

#include "platform/render/Canvas.h"

class UIWindow;

namespace corvale::preview {

// Encodes a drawn screen as the PNG the page shows, faster than the platform's PngEncoder (which
// keeps alpha for `render`): the rows are read straight from the canvas's premultiplied pixels and
// written as RGB, since a screen is shown over black and premultiplied colour is exactly that. It
// skips the straight-alpha copy of the whole canvas and a quarter of the bytes to compress.
class FrameEncoder {
public:
    // The PNG file's bytes; empty when encoding fails.
    static std::string encode(const platform::render::Canvas& canvas);
    // The window drawn at the screen's scale and encoded; empty when either fails.
    static std::string encodeWindow(UIWindow& window);
};

} // namespace corvale::preview
