#pragma once

#include <mutex>
#include <string>

#include "platform/uikit/CGGeometry.h"

class UIFont;
typedef struct _PangoContext PangoContext;
typedef struct _PangoFontDescription PangoFontDescription;

namespace platform {

// The process's one Pango context for measuring text, with metrics hinting off so widths are the
// fonts' own fractional advances (the same on every machine with the same fonts). Pango objects
// are not thread-safe: hold lock() while using the context or anything made from it.
class TextEngine {
public:
    static TextEngine& shared();
    TextEngine(const TextEngine&) = delete;
    TextEngine& operator=(const TextEngine&) = delete;

    std::unique_lock<std::recursive_mutex> lock() { return std::unique_lock<std::recursive_mutex>(m_mutex); }
    PangoContext* context() const { return m_context; }
    // "Inter" when it is installed, else "DejaVu Sans".
    const std::string& systemFamily() const { return m_systemFamily; }
    // A new description of the font (free with pango_font_description_free).
    PangoFontDescription* newDescription(const UIFont& font) const;
    // Ascent and descent (both positive) of the font, in points.
    void metrics(const UIFont& font, CGFloat& ascent, CGFloat& descent);

private:
    TextEngine();
    static PangoContext* makeContext();

    std::recursive_mutex m_mutex;
    PangoContext* m_context = nullptr;
    std::string m_systemFamily;
};

} // namespace platform
