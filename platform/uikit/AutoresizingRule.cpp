#include "platform/uikit/AutoresizingRule.h"

#include <algorithm>

namespace platform {

AutoresizingRule AutoresizingRule::horizontal(UIViewAutoresizing mask, CGRect frame, CGFloat superviewWidth) {
    return forAxis(mask & UIViewAutoresizingFlexibleLeftMargin, mask & UIViewAutoresizingFlexibleWidth,
                   mask & UIViewAutoresizingFlexibleRightMargin, frame.origin.x, frame.size.width,
                   superviewWidth);
}

AutoresizingRule AutoresizingRule::vertical(UIViewAutoresizing mask, CGRect frame, CGFloat superviewHeight) {
    return forAxis(mask & UIViewAutoresizingFlexibleTopMargin, mask & UIViewAutoresizingFlexibleHeight,
                   mask & UIViewAutoresizingFlexibleBottomMargin, frame.origin.y, frame.size.height,
                   superviewHeight);
}

AutoresizingRule AutoresizingRule::forAxis(bool flexibleLeading, bool flexibleSize, bool flexibleTrailing,
                                           CGFloat origin, CGFloat size, CGFloat extent) {
    // Negative parts (a view hanging over an edge) count as empty.
    CGFloat leading = flexibleLeading ? std::max<CGFloat>(origin, 0) : 0;
    CGFloat middle = flexibleSize ? std::max<CGFloat>(size, 0) : 0;
    CGFloat trailing = flexibleTrailing ? std::max<CGFloat>(extent - origin - size, 0) : 0;
    int flexibleCount = int(flexibleLeading) + int(flexibleSize) + int(flexibleTrailing);
    if (flexibleCount == 0)
        return {};
    CGFloat total = leading + middle + trailing;
    if (!(total > 0)) {
        CGFloat share = 1.0 / flexibleCount;
        return {flexibleLeading ? share : 0, flexibleSize ? share : 0};
    }
    return {leading / total, middle / total};
}

} // namespace platform
