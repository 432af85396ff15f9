#include "platform/render/ContentPainter.h"

#include <algorithm>
#include <functional>
#include <map>

#include "platform/render/ControlPainter.h"
#include "platform/render/ImageSurface.h"
#include "platform/render/NavigationBarPainter.h"
#include "platform/render/TablePainter.h"
#include "platform/render/TextPainter.h"
#include "platform/render/ViewPainter.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UIButton.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITextField.h"

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
    ControlPainter::paintSlider(context, slider.bounds(), slider.fraction(), context.resolve(slider.tintColor()));
}

// A borderless field as list rows hold them: the text (bullets when secure) or the grey placeholder,
// and the tinted caret at its end while editing.
void paintTextField(const DrawingContext& context, UITextField& field) {
    CGRect bounds = field.bounds();
    std::string shown = field.displayedText();
    bool placeholder = shown.empty();
    DrawColor ink = context.resolve(placeholder ? UIColor::placeholderTextColor() : UIColor::labelColor());
    TextPainter::Style style{UIFont::systemFontOfSize(17), ink, NSTextAlignmentLeft, 1};
    const std::string& text = placeholder ? field.placeholder() : shown;
    CGFloat height = TextPainter::measureHeight(text.empty() ? std::string("M") : text, bounds.size.width, style);
    CGFloat top = bounds.origin.y + (bounds.size.height - height) / 2;
    TextPainter::paintText(context, text, {{bounds.origin.x, top}, {bounds.size.width, height}}, style);
    if (!field.isEditing())
        return;
    CGFloat caretX = bounds.origin.x + (placeholder ? 0 : std::min(bounds.size.width - 2, TextPainter::measureWidth(shown, style)));
    context.fillRect({{caretX + 1, top}, {2, height}}, context.resolve(field.tintColor()), 1);
}

using ContentPaint = std::function<bool(UIView&, ViewPainter&)>;

template <class View> ContentPaint drawing(void (*paint)(const DrawingContext&, View&)) {
    return [paint](UIView& view, ViewPainter& painter) {
        paint(painter.context(), static_cast<View&>(view));
        return false;
    };
}

// One painter per view class; a view takes the painter of its nearest class that has one.
const std::map<Class, ContentPaint>& paintersByClass() {
    static const std::map<Class, ContentPaint> painters = [] {
        std::map<Class, ContentPaint> made;
        auto add = [&](const char* name, ContentPaint paint) {
            if (Class cls = objc_getClass(name))
                made.emplace(cls, std::move(paint));
        };
        add("UILabel", [](UIView& view, ViewPainter& painter) {
            TextPainter::paintLabel(painter.context(), static_cast<UILabel&>(view));
            return false;
        });
        add("UIImageView", drawing<UIImageView>(paintImageView));
        add("UISwitch", drawing<UISwitch>(paintSwitch));
        add("UIActivityIndicatorView", drawing<UIActivityIndicatorView>(paintSpinner));
        add("UIButton", drawing<UIButton>(paintButton));
        add("UISegmentedControl", drawing<UISegmentedControl>(paintSegments));
        add("UISlider", drawing<UISlider>(paintSlider));
        add("UITextField", drawing<UITextField>(paintTextField));
        add("UINavigationBar", [](UIView& view, ViewPainter& painter) {
            NavigationBarPainter::paint(static_cast<UINavigationBar&>(view), painter);
            return false;
        });
        add("UITableView", [](UIView& view, ViewPainter& painter) {
            return TablePainter::paintTable(static_cast<UITableView&>(view), painter);
        });
        add("UITableViewCell", [](UIView& view, ViewPainter& painter) {
            TablePainter::paintCell(static_cast<UITableViewCell&>(view), painter);
            return false;
        });
        return made;
    }();
    return painters;
}

} // namespace

bool ContentPainter::paint(UIView& view, ViewPainter& painter) {
    const auto& painters = paintersByClass();
    for (Class cls = view.getClass(); cls; cls = class_getSuperclass(cls))
        if (auto found = painters.find(cls); found != painters.end())
            return found->second(view, painter);
    return false;
}

} // namespace platform::render
