#pragma once

#include "platform/render/DrawingContext.h"

class CALayer;
class UIView;

namespace platform::render {

// A layer's drop shadow: the shape of its background (rounded by its corner radius), or of an image
// view's picture when it has no background, blurred by the shadow radius and moved by the offset.
class ShadowPainter {
public:
    static void paint(const DrawingContext& context, const CALayer& layer, CGRect bounds, UIView& view);
    static void paintLayer(const DrawingContext& context, const CALayer& layer, CGRect bounds);
};

} // namespace platform::render
