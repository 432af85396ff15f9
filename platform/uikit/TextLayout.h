#pragma once

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/NSTextAlignment.h"

typedef struct _PangoLayout PangoLayout;

namespace platform {

// What a label asks of the text engine.
struct TextLayoutRequest {
    // Lines wrap at this width; none when it is not positive and finite.
    CGFloat maximumWidth = 0;
    // At most this many lines, the last one truncated with an ellipsis; 0 for any number.
    long maximumLines = 0;
    NSTextAlignment alignment = NSTextAlignmentNatural;
    // Every font of the text is drawn at this multiple of its size (a label shrinking to fit).
    CGFloat fontScale = 1;
};

// Attributed text laid out by Pango: fonts, kerning and colours from its runs, the default font and
// colour where a run has none. Holds the Pango layout for whoever draws it; make and use it on the
// thread that holds the text engine's lock, or one at a time (the constructor and the readers take
// the lock themselves).
class TextLayout {
public:
    TextLayout(const NSAttributedString& text, const UIFont& defaultFont, const UIColorPtr& defaultColor,
               const TextLayoutRequest& request);
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    // The logical size of the laid-out text, unrounded.
    CGSize size() const;
    // True when the text did not fit its lines and ends in an ellipsis.
    bool isTruncated() const;
    PangoLayout* pangoLayout() const { return m_layout; }

private:
    PangoLayout* m_layout = nullptr;
    CGFloat m_trailingKern = 0;
};

} // namespace platform
