#pragma once

#include <string>

#include "platform/render/Canvas.h"

namespace corvale::preview {

// Encodes a drawn screen as the JPEG the page shows. PNG, as `render` writes, cost twice the drawing
// itself (11 ms of an 18 ms frame at scale 2); a JPEG at full chroma and high quality costs 5 ms and
// keeps text and thin coloured lines clean. Cairo's premultiplied pixels are read in place: a screen
// is shown over black, and premultiplied colour is exactly that.
class FrameEncoder {
public:
    static constexpr int quality = 90;
    static constexpr const char* contentType = "image/jpeg";

    // The JPEG file's bytes; empty when encoding fails.
    static std::string encode(const platform::render::Canvas& canvas);
};

} // namespace corvale::preview
