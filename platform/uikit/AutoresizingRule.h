#pragma once

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/UIView.h"

namespace platform {

// How one axis of a view follows its superview's size, from its autoresizing mask: when the
// superview grows by d, the origin moves by d * originShare and the size grows by d * sizeShare.
// The growth is shared among the flexible parts (leading margin, size, trailing margin) in
// proportion to their sizes when the frame was set, or equally when they are all empty; with nothing
// flexible the view keeps its place and size.
struct AutoresizingRule {
    CGFloat originShare = 0;
    CGFloat sizeShare = 0;

    static AutoresizingRule horizontal(UIViewAutoresizing mask, CGRect frame, CGFloat superviewWidth);
    static AutoresizingRule vertical(UIViewAutoresizing mask, CGRect frame, CGFloat superviewHeight);
    static AutoresizingRule forAxis(bool flexibleLeading, bool flexibleSize, bool flexibleTrailing,
                                    CGFloat origin, CGFloat size, CGFloat extent);

    // Where the axis goes when the superview's extent becomes `extent` (set from `reference`).
    CGFloat origin(CGFloat referenceOrigin, CGFloat referenceExtent, CGFloat extent) const {
        return referenceOrigin + (extent - referenceExtent) * originShare;
    }
    CGFloat size(CGFloat referenceSize, CGFloat referenceExtent, CGFloat extent) const {
        return referenceSize + (extent - referenceExtent) * sizeShare;
    }
};

} // namespace platform
