#include "platform/uikit/TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/uikit/TextEngine.h"
#include "platform/uikit/Utf16.h"

namespace platform {

namespace {

guint16 colorChannel(double value) {
    return static_cast<guint16>(std::lround(std::clamp(value, 0.0, 1.0) * 65535.0));
}

void insertAttribute(PangoAttrList* list, PangoAttribute* attribute, std::size_t start, std::size_t end) {
    attribute->start_index = static_cast<guint>(start);
    attribute->end_index = static_cast<guint>(end);
    pango_attr_list_insert(list, attribute);
}

void insertColor(PangoAttrList* list, const UIColorPtr& color, std::size_t start, std::size_t end) {
    double red = 0, green = 0, blue = 0, alpha = 1;
    if (!color || !color->getRed(&red, &green, &blue, &alpha))
        return;
    insertAttribute(list,
                    pango_attr_foreground_new(colorChannel(red), colorChannel(green), colorChannel(blue)),
                    start, end);
    insertAttribute(list, pango_attr_foreground_alpha_new(colorChannel(alpha)), start, end);
}

PangoAlignment pangoAlignment(NSTextAlignment alignment) {
    switch (alignment) {
    case NSTextAlignmentCenter:
        return PANGO_ALIGN_CENTER;
    case NSTextAlignmentRight:
        return PANGO_ALIGN_RIGHT;
    default:
        return PANGO_ALIGN_LEFT;
    }
}

} // namespace

TextLayout::TextLayout(const NSAttributedString& text, const UIFont& defaultFont,
                       const UIColorPtr& defaultColor, const TextLayoutRequest& request) {
    TextEngine& engine = TextEngine::shared();
    auto guard = engine.lock();
    CGFloat scale = std::isfinite(request.fontScale) && request.fontScale > 0 ? request.fontScale : 1;
    const std::string& string = text.string();
    m_layout = pango_layout_new(engine.context());
    pango_layout_set_text(m_layout, string.data(), static_cast<int>(string.size()));

    PangoFontDescription* base =
        engine.newDescription(*defaultFont.fontWithSize(defaultFont.pointSize() * scale));
    pango_layout_set_font_description(m_layout, base);
    pango_font_description_free(base);

    PangoAttrList* attributes = pango_attr_list_new();
    insertColor(attributes, defaultColor, 0, string.size());
    for (const auto& run : text._runs()) {
        std::size_t start = utf8OffsetOfUtf16Index(string, run.range.location);
        std::size_t end = utf8OffsetOfUtf16Index(string, NSMaxRange(run.range));
        if (auto font = NSAttributedString::fontIn(run.attributes)) {
            PangoFontDescription* description =
                engine.newDescription(*font->fontWithSize(font->pointSize() * scale));
            insertAttribute(attributes, pango_attr_font_desc_new(description), start, end);
            pango_font_description_free(description);
        }
        double kern = NSAttributedString::numberIn(run.attributes, NSKernAttributeName, 0) * scale;
        if (kern != 0 && std::isfinite(kern) && end == string.size())
            m_trailingKern = kern;
        if (kern != 0 && std::isfinite(kern))
            insertAttribute(attributes,
                            pango_attr_letter_spacing_new(static_cast<int>(std::lround(kern * PANGO_SCALE))),
                            start, end);
        insertColor(attributes, NSAttributedString::colorIn(run.attributes, NSForegroundColorAttributeName),
                    start, end);
    }
    pango_layout_set_attributes(m_layout, attributes);
    pango_attr_list_unref(attributes);

    bool wraps = std::isfinite(request.maximumWidth) && request.maximumWidth > 0;
    if (wraps) {
        pango_layout_set_width(m_layout, static_cast<int>(std::lround(request.maximumWidth * PANGO_SCALE)));
        pango_layout_set_wrap(m_layout, PANGO_WRAP_WORD_CHAR);
        if (request.maximumLines > 0) {
            pango_layout_set_height(m_layout,
                                    -static_cast<int>(std::min<long>(request.maximumLines, 100000)));
            pango_layout_set_ellipsize(m_layout, PANGO_ELLIPSIZE_END);
        }
    }
    pango_layout_set_alignment(m_layout, pangoAlignment(request.alignment));
    pango_layout_set_justify(m_layout, request.alignment == NSTextAlignmentJustified);
}

TextLayout::~TextLayout() {
    auto guard = TextEngine::shared().lock();
    g_object_unref(m_layout);
}

CGSize TextLayout::size() const {
    auto guard = TextEngine::shared().lock();
    PangoRectangle logical{};
    pango_layout_get_extents(m_layout, nullptr, &logical);
    // Kerning follows every character, the last one too, as the device measures it; Pango leaves the
    // last one's out of an unwrapped line but counts it when fitting the line to a width, so text
    // drawn at its own measured width would otherwise be cut short.
    CGFloat trailing = pango_layout_get_width(m_layout) < 0 ? std::max<CGFloat>(m_trailingKern, 0) : 0;
    return {static_cast<CGFloat>(logical.width) / PANGO_SCALE + trailing,
            static_cast<CGFloat>(logical.height) / PANGO_SCALE};
}

bool TextLayout::isTruncated() const {
    auto guard = TextEngine::shared().lock();
    return pango_layout_is_ellipsized(m_layout);
}

} // namespace platform
