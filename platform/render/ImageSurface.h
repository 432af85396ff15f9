#pragma once

#include "platform/uikit/CGGeometry.h"

typedef struct _cairo cairo_t;
class UIImage;

namespace platform::render {

// Draws a decoded image stretched into a rectangle of user space, smoothly filtered.
class ImageSurface {
public:
    static void draw(cairo_t* context, const UIImage& image, CGRect rect, double alpha = 1);
};

} // namespace platform::render
