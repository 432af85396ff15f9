#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/foundation/NSError.h"

// Codes of NSCocoaErrorDomain that file operations report, with the platform's numbers.
inline constexpr std::int64_t NSFileNoSuchFileError = 4;
inline constexpr std::int64_t NSFileReadUnknownError = 256;
inline constexpr std::int64_t NSFileReadNoPermissionError = 257;
inline constexpr std::int64_t NSFileReadInvalidFileNameError = 258;
inline constexpr std::int64_t NSFileReadNoSuchFileError = 260;
inline constexpr std::int64_t NSFileReadTooLargeError = 263;
inline constexpr std::int64_t NSFileWriteUnknownError = 512;
inline constexpr std::int64_t NSFileWriteNoPermissionError = 513;
inline constexpr std::int64_t NSFileWriteFileExistsError = 516;
inline constexpr std::int64_t NSFileWriteOutOfSpaceError = 640;
inline constexpr std::int64_t NSFileWriteVolumeReadOnlyError = 642;

namespace platform {

// Hands back a NSCocoaErrorDomain error for a failed read or write of a device path, from the
// errno value the system gave.
void reportFileReadError(NSErrorPtr* out, int posixCode, std::string_view devicePath);
void reportFileWriteError(NSErrorPtr* out, int posixCode, std::string_view devicePath);

} // namespace platform
