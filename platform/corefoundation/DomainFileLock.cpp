#include "platform/corefoundation/DomainFileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

DomainFileLock::DomainFileLock(const std::filesystem::path& lockFile) {
    int descriptor = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (descriptor < 0)
        return;
    int result = 0;
    while ((result = ::flock(descriptor, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        ::close(descriptor);
        return;
    }
    m_descriptor = descriptor;
}

DomainFileLock::~DomainFileLock() {
    if (m_descriptor >= 0)
        ::close(m_descriptor); // closing the last descriptor releases the flock
}

} // namespace platform
