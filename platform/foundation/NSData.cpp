#include "platform/foundation/NSData.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/FoundationErrors.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/URLSessionConfiguration.h"
#include "platform/foundation/URLTransfer.h"

namespace {

// Writes everything, retrying short writes and interruptions; false with errno set on failure.
bool writeAll(int descriptor, const std::uint8_t* bytes, std::size_t length) {
    while (length > 0) {
        ssize_t written = ::write(descriptor, bytes, length);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

bool writeInPlace(std::string_view path, const std::vector<std::uint8_t>& bytes, NSErrorPtr* error) {
    auto hostPath = platform::DeviceRoot::resolve(path);
    int descriptor = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        platform::reportFileWriteError(error, errno, path);
        return false;
    }
    bool written = writeAll(descriptor, bytes.data(), bytes.size());
    int writeErrno = errno;
    bool closed = ::close(descriptor) == 0;
    if (!written || !closed) {
        platform::reportFileWriteError(error, written ? errno : writeErrno, path);
        return false;
    }
    return true;
}

// The platform's own helpers report POSIX errors; file APIs hand back Cocoa ones.
void reportAsCocoaError(NSErrorPtr* error, const NSErrorPtr& posixError, std::string_view path,
                        bool reading) {
    if (!error || !posixError)
        return;
    int code = static_cast<int>(posixError->code());
    if (reading)
        platform::reportFileReadError(error, code, path);
    else
        platform::reportFileWriteError(error, code, path);
}

bool isNetworkURL(const NSURL& url) {
    auto scheme = url.scheme().value_or("");
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    return scheme == "http" || scheme == "https";
}

// Blocks the caller, under the same rules as NSURLSession's shared session (HTTPS, or HTTP to
// loopback; an HTTP error status still gives its body). Errors are NSURLErrorDomain ones.
std::shared_ptr<NSData> downloadSynchronously(const std::shared_ptr<NSURL>& url, NSErrorPtr* error) {
    platform::URLTransfer transfer(url, platform::URLSessionConfiguration::sharedConfiguration());
    auto result = transfer.performSynchronously();
    if (result.error) {
        if (error)
            *error = result.error;
        return nullptr;
    }
    return result.data;
}

} // namespace

std::shared_ptr<NSData> NSData::dataWithBytes(const void* bytes, std::size_t length) {
    if (!bytes || length == 0)
        return std::make_shared<NSData>();
    auto* first = static_cast<const std::uint8_t*>(bytes);
    return std::make_shared<NSData>(std::vector<std::uint8_t>(first, first + length));
}

std::shared_ptr<NSData> NSData::dataWithContentsOfFile(std::string_view path, NSErrorPtr* error) {
    std::vector<std::uint8_t> bytes;
    NSErrorPtr posixError;
    if (!platform::readFile(path, bytes, &posixError)) {
        reportAsCocoaError(error, posixError, path, true);
        return nullptr;
    }
    return std::make_shared<NSData>(std::move(bytes));
}

std::shared_ptr<NSData> NSData::dataWithContentsOfFile(std::string_view path, std::size_t maximumLength,
                                                       NSErrorPtr* error) {
    std::error_code sizeError;
    auto size = std::filesystem::file_size(platform::DeviceRoot::resolve(path), sizeError);
    if (!sizeError && size > maximumLength) {
        reportError(error, NSCocoaErrorDomain, NSFileReadTooLargeError,
                    "The file \"" + std::string(path) + "\" is too large to read.");
        return nullptr;
    }
    auto data = dataWithContentsOfFile(path, error);
    if (data && data->length() > maximumLength) {
        reportError(error, NSCocoaErrorDomain, NSFileReadTooLargeError,
                    "The file \"" + std::string(path) + "\" is too large to read.");
        return nullptr;
    }
    return data;
}

std::shared_ptr<NSData> NSData::dataWithContentsOfURL(const std::shared_ptr<NSURL>& url, NSErrorPtr* error) {
    if (url && isNetworkURL(*url))
        return downloadSynchronously(url, error);
    if (!url || !url->isFileURL()) {
        reportError(error, NSCocoaErrorDomain, NSFileReadUnknownError,
                    "Only file URLs can be read directly.");
        return nullptr;
    }
    return dataWithContentsOfFile(url->path(), error);
}

std::shared_ptr<NSData> NSData::dataWithValue(const Value& value) {
    if (!value.isData())
        return nullptr;
    return std::make_shared<NSData>(value.asData());
}

bool NSData::writeToFile(std::string_view path, bool atomically, NSErrorPtr* error) const {
    if (!atomically)
        return writeInPlace(path, m_bytes, error);
    NSErrorPtr posixError;
    if (!platform::writeFileAtomically(path, m_bytes, &posixError)) {
        reportAsCocoaError(error, posixError, path, false);
        return false;
    }
    return true;
}

bool NSData::writeToURL(const std::shared_ptr<NSURL>& url, bool atomically, NSErrorPtr* error) const {
    if (!url || !url->isFileURL()) {
        reportError(error, NSCocoaErrorDomain, NSFileWriteUnknownError, "Only file URLs can be written.");
        return false;
    }
    return writeToFile(url->path(), atomically, error);
}
