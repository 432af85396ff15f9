#include "platform/foundation/FoundationErrors.h"

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

std::int64_t readCode(int posixCode) {
    switch (posixCode) {
    case ENOENT:
    case ENOTDIR:
        return NSFileReadNoSuchFileError;
    case EACCES:
    case EPERM:
    case EISDIR:
        return NSFileReadNoPermissionError;
    default:
        return NSFileReadUnknownError;
    }
}

std::int64_t writeCode(int posixCode) {
    switch (posixCode) {
    case ENOENT:
        return NSFileNoSuchFileError;
    case EACCES:
    case EPERM:
        return NSFileWriteNoPermissionError;
    case EEXIST:
    case ENOTEMPTY:
        return NSFileWriteFileExistsError;
    case ENOSPC:
    case EDQUOT:
        return NSFileWriteOutOfSpaceError;
    case EROFS:
        return NSFileWriteVolumeReadOnlyError;
    default:
        return NSFileWriteUnknownError;
    }
}

} // namespace

void reportFileReadError(NSErrorPtr* out, int posixCode, std::string_view devicePath) {
    reportError(out, NSCocoaErrorDomain, readCode(posixCode),
                "The file \"" + std::string(devicePath) +
                    "\" couldn't be opened: " + std::strerror(posixCode));
}

void reportFileWriteError(NSErrorPtr* out, int posixCode, std::string_view devicePath) {
    reportError(out, NSCocoaErrorDomain, writeCode(posixCode),
                "The file \"" + std::string(devicePath) +
                    "\" couldn't be saved: " + std::strerror(posixCode));
}

} // namespace platform
