#pragma once

#include "platform/uikit/UIScrollView.h"

namespace ScrollInsets {

// The content inset that places a scroll view's content on this system: the adjusted inset from
// iOS 11 on, the configured one before.
UIEdgeInsets inForce(const UIScrollView& scrollView);

} // namespace ScrollInsets
