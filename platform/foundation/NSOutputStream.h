#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/NSError.h"
#include "platform/foundation/NSStreamStatus.h"

// Writes bytes to a file at a device path. Appending writes to the file itself. Replacing writes to
// a temporary file beside it that close() renames over the target: readers see the old file until
// then, and a stream that fails or is dropped without close() leaves the old file as it was.
// One stream is used from one thread at a time.
class NSOutputStream {
public:
    static std::shared_ptr<NSOutputStream> outputStreamToFileAtPath(std::string_view path, bool append);

    ~NSOutputStream();
    NSOutputStream(const NSOutputStream&) = delete;
    NSOutputStream& operator=(const NSOutputStream&) = delete;

    void open();
    // The number of bytes written (all of them), or -1 when the stream is not open or writing failed.
    long write(const std::uint8_t* buffer, std::size_t length);
    void close();

    NSStreamStatus streamStatus() const { return m_status; }
    // What made the stream fail (NSPOSIXErrorDomain), or nothing.
    const NSErrorPtr& streamError() const { return m_error; }

private:
    NSOutputStream(std::string devicePath, bool append);
    bool openForAppending();
    bool openTemporaryFile();
    bool replaceTarget();
    void fail(int posixCode);
    void closeDescriptor();
    void discardTemporaryFile();

    std::string m_devicePath;
    std::filesystem::path m_target;
    std::filesystem::path m_temporary; // empty unless a replacement is being written
    bool m_append;
    int m_descriptor = -1;
    NSStreamStatus m_status = NSStreamStatusNotOpen;
    NSErrorPtr m_error;
};
