#pragma once

#include <filesystem>

namespace platform {

// An exclusive flock on a lock file, held for the object's life. Every process that merges into a
// preference domain takes the one beside the domain's file, so read-merge-write never interleaves.
// The lock file is left in place: removing it would let two processes lock two different files.
class DomainFileLock {
public:
    explicit DomainFileLock(const std::filesystem::path& lockFile);
    ~DomainFileLock();
    DomainFileLock(const DomainFileLock&) = delete;
    DomainFileLock& operator=(const DomainFileLock&) = delete;

    bool held() const { return m_descriptor >= 0; }

private:
    int m_descriptor = -1;
};

} // namespace platform
