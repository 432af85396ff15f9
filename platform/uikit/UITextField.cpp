#include "platform/uikit/UITextField.h"

namespace {

[[maybe_unused]] const Class registeredTextField =
    platform::registerClass<UITextField, UIControl>("UITextField");

} // namespace
