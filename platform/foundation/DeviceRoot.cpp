#include "platform/foundation/DeviceRoot.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <optional>
#include <unistd.h>

namespace platform {

namespace {

std::mutex rootMutex;
std::optional<std::filesystem::path> chosenRoot;

std::filesystem::path defaultRoot() {
    if (const char* fromEnvironment = std::getenv("CORVALE_DEVICE_ROOT"); fromEnvironment && *fromEnvironment)
        return std::filesystem::absolute(fromEnvironment);
    return std::filesystem::current_path();
}

std::string errnoDescription(int code) { return std::strerror(code); }

bool writeAll(int descriptor, const std::vector<std::uint8_t>& bytes) {
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        ssize_t written = ::write(descriptor, bytes.data() + offset, bytes.size() - offset);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        offset += static_cast<std::size_t>(written);
    }
    return true;
}

void syncFolder(const std::filesystem::path& folder) {
    int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

} // namespace

std::filesystem::path DeviceRoot::root() {
    std::lock_guard lock(rootMutex);
    if (!chosenRoot)
        chosenRoot = defaultRoot();
    return *chosenRoot;
}

void DeviceRoot::setRoot(const std::filesystem::path& hostDirectory) {
    std::lock_guard lock(rootMutex);
    chosenRoot = std::filesystem::absolute(hostDirectory);
}

std::string DeviceRoot::normalize(std::string_view devicePath) {
    std::vector<std::string_view> components;
    std::size_t start = 0;
    while (start <= devicePath.size()) {
        std::size_t end = devicePath.find('/', start);
        if (end == std::string_view::npos)
            end = devicePath.size();
        std::string_view component = devicePath.substr(start, end - start);
        if (component == "..") {
            // ".." at the device's "/" stays there, as it does on any Unix.
            if (!components.empty())
                components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    std::string normalized;
    for (auto component : components) {
        normalized += '/';
        normalized += component;
    }
    return normalized.empty() ? "/" : normalized;
}

std::filesystem::path DeviceRoot::resolve(std::string_view devicePath) {
    std::string normalized = normalize(devicePath);
    std::filesystem::path resolved = root();
    if (normalized.size() > 1)
        resolved /= normalized.substr(1);
    return resolved;
}

bool readFile(std::string_view devicePath, std::vector<std::uint8_t>& out, NSErrorPtr* error) {
    auto hostPath = DeviceRoot::resolve(devicePath);
    std::ifstream stream(hostPath, std::ios::binary);
    if (!stream) {
        int code = errno ? errno : ENOENT;
        reportError(error, NSPOSIXErrorDomain, code,
                    "The file \"" + std::string(devicePath) + "\" couldn't be opened: " + errnoDescription(code));
        return false;
    }
    std::error_code sizeError;
    if (std::filesystem::is_directory(hostPath, sizeError)) {
        reportError(error, NSPOSIXErrorDomain, EISDIR,
                    "The file \"" + std::string(devicePath) + "\" is a directory.");
        return false;
    }
    // One read of the whole file: the list of a large settings page is read on every load, and a
    // character iterator is several times slower. The size is only a hint; what is read counts.
    out.clear();
    const auto size = std::filesystem::file_size(hostPath, sizeError);
    if (!sizeError) {
        out.resize(static_cast<std::size_t>(size));
        stream.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
        out.resize(static_cast<std::size_t>(stream.gcount()));
    }
    // Whatever the size missed (a file that grew, or a size that could not be read).
    if (stream && !stream.eof())
        out.insert(out.end(), std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    if (stream.bad()) {
        reportError(error, NSPOSIXErrorDomain, EIO, "The file \"" + std::string(devicePath) + "\" couldn't be read.");
        return false;
    }
    return true;
}

bool writeFileAtomically(std::string_view devicePath, const std::vector<std::uint8_t>& bytes, NSErrorPtr* error) {
    auto target = DeviceRoot::resolve(devicePath);
    auto temporary = target;
    // Unique per process and per write, so that two writers never share a temporary file.
    static std::atomic<std::uint64_t> writeCounter{0};
    temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(writeCounter.fetch_add(1));
    int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        int code = errno;
        reportError(error, NSPOSIXErrorDomain, code,
                    "The file \"" + std::string(devicePath) +
                        "\" couldn't be saved: " + errnoDescription(code));
        return false;
    }
    // The data reaches the disk before the rename makes it the file, so that a crash leaves either
    // the old file or the new one whole, never an empty file under the name.
    bool written = writeAll(descriptor, bytes) && ::fsync(descriptor) == 0;
    int writeCode = errno;
    written = ::close(descriptor) == 0 && written;
    if (!written) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        reportError(error, NSPOSIXErrorDomain, writeCode ? writeCode : EIO,
                    "The file \"" + std::string(devicePath) + "\" couldn't be written.");
        return false;
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, target, renameError);
    if (renameError) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        reportError(error, NSPOSIXErrorDomain, renameError.value(),
                    "The file \"" + std::string(devicePath) + "\" couldn't be saved: " + renameError.message());
        return false;
    }
    // The rename itself lives in the folder.
    syncFolder(target.parent_path());
    return true;
}

} // namespace platform
