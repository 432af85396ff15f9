#pragma once

#include <string>
#include <vector>

#include "platform/render/DrawingContext.h"

namespace platform::render {

// The system controls' looks, drawn into rectangles, for the controls' own drawing.
class ControlPainter {
public:
    static constexpr CGSize switchSize{51, 31};

    // A switch whose top-left corner is at `origin`: the track in `onTint` when on, grey when off,
    // and the white knob at the matching end.
    static void paintSwitch(const DrawingContext& context, CGPoint origin, bool on, const DrawColor& onTint);
    // A spinner of twelve spokes fading round the circle.
    static void paintSpinner(const DrawingContext& context, CGPoint center, CGFloat radius,
                             const DrawColor& color);
    // The grey chevron of a link row, its tip `tipX` points from the left.
    static void paintChevron(const DrawingContext& context, CGFloat tipX, CGFloat centerY);
    // The tinted checkmark of a chosen row, its right end `rightX` points from the left.
    static void paintCheckmark(const DrawingContext& context, CGFloat rightX, CGFloat centerY,
                               const DrawColor& tint);
    // A slider track filled to `fraction` (0...1) in the tint, with its knob.
    static void paintSlider(const DrawingContext& context, CGRect rect, double fraction,
                            const DrawColor& tint);
    // Segments in a rounded well, the selected one raised (none for -1).
    static void paintSegments(const DrawingContext& context, CGRect rect,
                              const std::vector<std::string>& titles, long selected);
    // The title (and tinted image) of a button, centred in its bounds.
    static void paintButtonTitle(const DrawingContext& context, CGRect bounds, const std::string& title,
                                 const DrawColor& color);
};

} // namespace platform::render
