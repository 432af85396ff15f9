#include "platform/uikit/TextEngine.h"

#include <pango/pangocairo.h>

#include <cstring>

#include "platform/uikit/UIFont.h"

namespace platform {

namespace {

bool hasFamily(PangoFontMap* map, const char* name) {
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(map, &families, &count);
    bool found = false;
    for (int index = 0; index < count && !found; ++index)
        found = std::strcmp(pango_font_family_get_name(families[index]), name) == 0;
    g_free(families);
    return found;
}

} // namespace

TextEngine& TextEngine::shared() {
    // Never destroyed: fonts may be measured while other statics are torn down.
    static TextEngine* engine = new TextEngine();
    return *engine;
}

TextEngine::TextEngine() {
    m_context = makeContext();
    m_systemFamily = hasFamily(pango_context_get_font_map(m_context), "Inter") ? "Inter" : "DejaVu Sans";
}

PangoContext* TextEngine::makeContext() {
    PangoFontMap* map = pango_cairo_font_map_new();
    PangoContext* context = pango_font_map_create_context(map);
    g_object_unref(map);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    return context;
}

PangoFontDescription* TextEngine::newDescription(const UIFont& font) const {
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, m_systemFamily.c_str());
    pango_font_description_set_weight(description, static_cast<PangoWeight>(font._numericWeight()));
    // Absolute size: one point is one unit of our coordinates, whatever the resolution.
    pango_font_description_set_absolute_size(description, font.pointSize() * PANGO_SCALE);
    return description;
}

void TextEngine::metrics(const UIFont& font, CGFloat& ascent, CGFloat& descent) {
    auto guard = lock();
    PangoFontDescription* description = newDescription(font);
    PangoFontMetrics* fontMetrics = pango_context_get_metrics(m_context, description, nullptr);
    ascent = static_cast<CGFloat>(pango_font_metrics_get_ascent(fontMetrics)) / PANGO_SCALE;
    descent = static_cast<CGFloat>(pango_font_metrics_get_descent(fontMetrics)) / PANGO_SCALE;
    pango_font_metrics_unref(fontMetrics);
    pango_font_description_free(description);
}

} // namespace platform
