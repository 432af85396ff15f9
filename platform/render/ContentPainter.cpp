#include "render/ContentPainter.h"

#include "render/ImageSurface.h"
#include "render/TextPainter.h"
#include "render/ViewPainter.h"
#include "uikit/UIImage.h"
#include "uikit/UIImageView.h"
#include "uikit/UILabel.h"

namespace platform::render {

bool ContentPainter::paint(UIView& view, ViewPainter& painter) {
    const DrawingContext& context = painter.context();
    if (auto* label = dynamic_cast<UILabel*>(&view)) {
        TextPainter::paintLabel(context, *label);
        return false;
    }
    if (auto* imageView = dynamic_cast<UIImageView*>(&view)) {
        if (const auto& image = imageView->image()) {
            CGRect bounds = view.bounds();
            ImageSurface::draw(context.cairo(), *image,
                               CGRectOffset(imageView->_imageRect(), bounds.origin.x, bounds.origin.y));
        }
        return false;
    }
    return false;
}

} // namespace platform::render
