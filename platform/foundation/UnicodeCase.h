#pragma once

#include <string>
#include <string_view>

namespace platform {

// Unicode upper-casing with its special cases ("ß" becomes "SS"), as NSString's uppercaseString does.
// Text that is not valid UTF-8 only has its ASCII letters raised.
std::string uppercaseString(std::string_view text);

} // namespace platform
