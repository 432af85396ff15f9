#include "platform/uikit/UITextView.h"

namespace {

// A scroll view on the platform; UIView here until scrolling exists.
[[maybe_unused]] const Class registeredTextView = platform::registerClass<UITextView, UIView>("UITextView");

} // namespace
