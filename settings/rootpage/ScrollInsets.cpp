#include "settings/rootpage/ScrollInsets.h"

#include "platform/foundation/NSProcessInfo.h"

namespace ScrollInsets {

UIEdgeInsets inForce(const UIScrollView& scrollView) {
    constexpr NSOperatingSystemVersion adjustedInsetsRelease{11, 0, 0};
    return NSProcessInfo::processInfo().isOperatingSystemAtLeastVersion(adjustedInsetsRelease)
               ? scrollView.adjustedContentInset()
               : scrollView.contentInset();
}

} // namespace ScrollInsets
