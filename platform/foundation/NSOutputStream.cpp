#include "platform/foundation/NSOutputStream.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/foundation/DeviceRoot.h"

namespace {

constexpr mode_t newFileMode = 0644;

std::filesystem::path temporaryPathBeside(const std::filesystem::path& target) {
    // Unique per process and per stream, so concurrent writers never share a temporary file.
    static std::atomic<std::uint64_t> streamCounter{0};
    auto temporary = target;
    temporary += ".stream-" + std::to_string(::getpid()) + "-" + std::to_string(streamCounter.fetch_add(1));
    return temporary;
}

} // namespace

std::shared_ptr<NSOutputStream> NSOutputStream::outputStreamToFileAtPath(std::string_view path, bool append) {
    return std::shared_ptr<NSOutputStream>(new NSOutputStream(std::string(path), append));
}

NSOutputStream::NSOutputStream(std::string devicePath, bool append)
    : m_devicePath(std::move(devicePath)), m_target(platform::DeviceRoot::resolve(m_devicePath)),
      m_append(append) {}

NSOutputStream::~NSOutputStream() {
    closeDescriptor();
    discardTemporaryFile();
}

void NSOutputStream::open() {
    if (m_status != NSStreamStatusNotOpen)
        return;
    m_status = NSStreamStatusOpening;
    if (m_append ? openForAppending() : openTemporaryFile())
        m_status = NSStreamStatusOpen;
}

bool NSOutputStream::openForAppending() {
    m_descriptor = ::open(m_target.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, newFileMode);
    if (m_descriptor < 0) {
        fail(errno);
        return false;
    }
    return true;
}

bool NSOutputStream::openTemporaryFile() {
    struct stat existing {};
    bool targetExists = ::stat(m_target.c_str(), &existing) == 0;
    // A folder cannot be replaced by a file; finding out now spares writing it all for nothing.
    if (targetExists && S_ISDIR(existing.st_mode)) {
        fail(EISDIR);
        return false;
    }
    auto temporary = temporaryPathBeside(m_target);
    m_descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, newFileMode);
    if (m_descriptor < 0) {
        fail(errno);
        return false;
    }
    m_temporary = std::move(temporary);
    // The replacement keeps the permissions of the file it replaces.
    if (targetExists)
        ::fchmod(m_descriptor, existing.st_mode & 07777);
    return true;
}

long NSOutputStream::write(const std::uint8_t* buffer, std::size_t length) {
    if (m_status != NSStreamStatusOpen || (!buffer && length > 0))
        return -1;
    std::size_t remaining = length;
    while (remaining > 0) {
        ssize_t written = ::write(m_descriptor, buffer, remaining);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0) {
            fail(errno);
            return -1;
        }
        buffer += written;
        remaining -= static_cast<std::size_t>(written);
    }
    return static_cast<long>(length);
}

void NSOutputStream::close() {
    if (m_status == NSStreamStatusOpen) {
        bool replaced = m_append || replaceTarget();
        closeDescriptor();
        if (replaced)
            m_status = NSStreamStatusClosed;
    } else if (m_status == NSStreamStatusNotOpen) {
        m_status = NSStreamStatusClosed;
    }
    // A failed stream keeps its error status; whatever it wrote is thrown away.
    closeDescriptor();
    discardTemporaryFile();
}

bool NSOutputStream::replaceTarget() {
    // The data is on disk before the name points at it, so a crash leaves the old file or the new.
    int syncFailure = ::fsync(m_descriptor) == 0 ? 0 : errno;
    int closeFailure = ::close(m_descriptor) == 0 ? 0 : errno;
    m_descriptor = -1;
    if (syncFailure || closeFailure) {
        fail(syncFailure ? syncFailure : closeFailure);
        return false;
    }
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        fail(errno);
        return false;
    }
    m_temporary.clear();
    return true;
}

void NSOutputStream::fail(int posixCode) {
    m_status = NSStreamStatusError;
    m_error = NSError::errorWithDomain(NSPOSIXErrorDomain, posixCode,
                                       "The stream to \"" + m_devicePath +
                                           "\" failed: " + std::strerror(posixCode));
}

void NSOutputStream::closeDescriptor() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}

void NSOutputStream::discardTemporaryFile() {
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}
