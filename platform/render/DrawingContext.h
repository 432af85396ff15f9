#pragma once

#include <memory>

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/UIColor.h"

typedef struct _cairo cairo_t;
class UITraitCollection;

namespace platform::render {

// A colour resolved for drawing: straight components 0...1.
struct DrawColor {
    double red = 0, green = 0, blue = 0, alpha = 0;
    bool isVisible() const { return alpha > 0; }
    DrawColor withAlpha(double value) const { return {red, green, blue, value}; }
};

// Small drawing helpers shared by the painters: colours resolved against traits, rounded rectangles
// and save/restore pairs.
class DrawingContext {
public:
    DrawingContext(cairo_t* context, std::shared_ptr<UITraitCollection> traits)
        : m_context(context), m_traits(std::move(traits)) {}

    cairo_t* cairo() const { return m_context; }
    const std::shared_ptr<UITraitCollection>& traits() const { return m_traits; }

    // Clear for nil.
    DrawColor resolve(const UIColorPtr& color) const;
    static DrawColor rgb(double red, double green, double blue, double alpha = 1) {
        return {red, green, blue, alpha};
    }

    void setSource(const DrawColor& color) const;
    // A path of the rectangle with corners of `radius` (clamped to half the shorter side).
    void roundedRect(CGRect rect, CGFloat radius) const;
    // A rectangle whose top corners, bottom corners, both or neither are rounded.
    void roundedRect(CGRect rect, CGFloat radius, bool roundTop, bool roundBottom) const;
    void fillRect(CGRect rect, const DrawColor& color, CGFloat radius = 0) const;

private:
    cairo_t* m_context;
    std::shared_ptr<UITraitCollection> m_traits;
};

// Saves the Cairo state for a scope.
class SavedState {
public:
    explicit SavedState(cairo_t* context);
    ~SavedState();
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    cairo_t* m_context;
};

} // namespace platform::render
