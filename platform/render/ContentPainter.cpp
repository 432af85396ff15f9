#include "platform/render/ContentPainter.h"

#include <algorithm>

#include "platform/preferences/PSListController.h"
#include "platform/render/ControlPainter.h"
#include "platform/render/GroupedListPainter.h"
#include "platform/render/ImageSurface.h"
#include "platform/render/NavigationBarPainter.h"
#include "platform/render/TextPainter.h"
#include "platform/render/ViewPainter.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITableView.h"

namespace platform::render {

namespace {

void paintImageView(const DrawingContext& context, UIImageView& imageView) {
    if (const auto& image = imageView.image()) {
        CGRect bounds = imageView.bounds();
        ImageSurface::draw(context.cairo(), *image,
                           CGRectOffset(imageView._imageRect(), bounds.origin.x, bounds.origin.y));
    }
}

void paintSwitch(const DrawingContext& context, UISwitch& control) {
    CGRect bounds = control.bounds();
    CGPoint origin{CGRectGetMidX(bounds) - ControlPainter::switchSize.width / 2,
                   CGRectGetMidY(bounds) - ControlPainter::switchSize.height / 2};
    DrawColor tint = control.onTintColor() ? context.resolve(control.onTintColor())
                                           : DrawingContext::rgb(0.204, 0.78, 0.349);
    ControlPainter::paintSwitch(context, origin, control.isOn(), tint);
}

void paintSpinner(const DrawingContext& context, UIActivityIndicatorView& spinner) {
    CGRect bounds = spinner.bounds();
    auto style = spinner.activityIndicatorViewStyle();
    bool large =
        style == UIActivityIndicatorViewStyle::Large || style == UIActivityIndicatorViewStyle::WhiteLarge;
    UIColorPtr color = spinner.color();
    if (!color)
        color =
            style == UIActivityIndicatorViewStyle::White || style == UIActivityIndicatorViewStyle::WhiteLarge
                ? UIColor::whiteColor()
                : UIColor::systemGrayColor();
    CGFloat radius = std::min<CGFloat>(large ? 18 : 10, std::min(bounds.size.width, bounds.size.height) / 2);
    ControlPainter::paintSpinner(context, {CGRectGetMidX(bounds), CGRectGetMidY(bounds)}, radius,
                                 context.resolve(color));
}

void paintButton(const DrawingContext& context, UIButton& button) {
    CGRect bounds = button.bounds();
    auto image = button.currentImage();
    auto title = button.currentTitle();
    CGFloat imageWidth = image ? image->size().width : 0;
    if (image) {
        CGSize size = image->size();
        CGFloat textWidth = title ? TextPainter::measureWidth(
                                        *title, {UIFont::systemFontOfSize(15), {}, NSTextAlignmentLeft, 1})
                                  : 0;
        CGFloat left = CGRectGetMidX(bounds) - (size.width + textWidth) / 2;
        ImageSurface::draw(context.cairo(), *image, {{left, CGRectGetMidY(bounds) - size.height / 2}, size});
    }
    if (title)
        ControlPainter::paintButtonTitle(context,
                                         {{bounds.origin.x + imageWidth, bounds.origin.y},
                                          {bounds.size.width - imageWidth, bounds.size.height}},
                                         *title, context.resolve(button.currentTitleColor()));
}

void paintSegments(const DrawingContext& context, UISegmentedControl& control) {
    std::vector<std::string> titles;
    for (std::size_t index = 0; index < control.numberOfSegments(); ++index)
        titles.push_back(control.titleForSegmentAtIndex(index));
    ControlPainter::paintSegments(context, control.bounds(), titles, control.selectedSegmentIndex());
}

void paintSlider(const DrawingContext& context, UISlider& slider) {
    double span = slider.maximumValue() - slider.minimumValue();
    double fraction = span > 0 ? (slider.value() - slider.minimumValue()) / span : 0;
    ControlPainter::paintSlider(context, slider.bounds(), fraction, context.resolve(slider.tintColor()));
}

} // namespace

bool ContentPainter::paint(UIView& view, ViewPainter& painter) {
    const DrawingContext& context = painter.context();
    if (auto* label = dynamic_cast<UILabel*>(&view)) {
        TextPainter::paintLabel(context, *label);
    } else if (auto* imageView = dynamic_cast<UIImageView*>(&view)) {
        paintImageView(context, *imageView);
    } else if (auto* control = dynamic_cast<UISwitch*>(&view)) {
        paintSwitch(context, *control);
    } else if (auto* spinner = dynamic_cast<UIActivityIndicatorView*>(&view)) {
        paintSpinner(context, *spinner);
    } else if (auto* button = dynamic_cast<UIButton*>(&view)) {
        paintButton(context, *button);
    } else if (auto* segments = dynamic_cast<UISegmentedControl*>(&view)) {
        paintSegments(context, *segments);
    } else if (auto* slider = dynamic_cast<UISlider*>(&view)) {
        paintSlider(context, *slider);
    } else if (auto* bar = dynamic_cast<UINavigationBar*>(&view)) {
        NavigationBarPainter::paint(*bar, painter);
    } else if (auto* table = dynamic_cast<UITableView*>(&view)) {
        if (auto page = std::dynamic_pointer_cast<PSListController>(table->dataSource())) {
            GroupedListPainter::paint(*table, *page, painter);
            return true;
        }
    }
    return false;
}

} // namespace platform::render
