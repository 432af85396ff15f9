#include "platform/foundation/NSFileManager.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/FoundationErrors.h"

namespace fs = std::filesystem;
using platform::DeviceRoot;

namespace {

bool existsWithoutFollowing(const fs::path& path) {
    std::error_code ignored;
    return fs::symlink_status(path, ignored).type() != fs::file_type::not_found;
}

bool isDirectory(const fs::path& path) {
    std::error_code ignored;
    return fs::is_directory(path, ignored);
}

// Fails when the destination is taken or its folder is missing, as the platform does before it
// moves or copies anything.
bool checkDestination(const fs::path& destination, std::string_view devicePath, NSErrorPtr* error) {
    if (existsWithoutFollowing(destination)) {
        platform::reportFileWriteError(error, EEXIST, devicePath);
        return false;
    }
    if (!isDirectory(destination.parent_path())) {
        platform::reportFileWriteError(error, ENOENT, devicePath);
        return false;
    }
    return true;
}

bool isInside(std::string_view devicePath, std::string_view folder) {
    std::string inner = DeviceRoot::normalize(devicePath);
    std::string outer = DeviceRoot::normalize(folder);
    return inner.starts_with(outer == "/" ? outer : outer + "/");
}

bool copyTree(const fs::path& source, const fs::path& destination, std::error_code& failure) {
    fs::copy(source, destination, fs::copy_options::recursive | fs::copy_options::copy_symlinks, failure);
    return !failure;
}

} // namespace

NSFileManager& NSFileManager::defaultManager() {
    static NSFileManager shared;
    return shared;
}

bool NSFileManager::createDirectoryAtPath(std::string_view path, bool withIntermediateDirectories,
                                          NSErrorPtr* error) const {
    fs::path target = DeviceRoot::resolve(path);
    if (existsWithoutFollowing(target)) {
        if (withIntermediateDirectories && isDirectory(target))
            return true;
        platform::reportFileWriteError(error, EEXIST, path);
        return false;
    }
    std::error_code failure;
    if (withIntermediateDirectories)
        fs::create_directories(target, failure);
    else
        fs::create_directory(target, failure);
    if (failure) {
        platform::reportFileWriteError(error, failure.value(), path);
        return false;
    }
    return true;
}

bool NSFileManager::removeItemAtPath(std::string_view path, NSErrorPtr* error) const {
    // The device's "/" is the root folder itself: removing it would take the whole device away.
    if (DeviceRoot::normalize(path) == "/") {
        platform::reportFileWriteError(error, EPERM, path);
        return false;
    }
    fs::path target = DeviceRoot::resolve(path);
    if (!existsWithoutFollowing(target)) {
        platform::reportFileWriteError(error, ENOENT, path);
        return false;
    }
    std::error_code failure;
    fs::remove_all(target, failure);
    if (failure) {
        platform::reportFileWriteError(error, failure.value(), path);
        return false;
    }
    return true;
}

bool NSFileManager::fileExistsAtPath(std::string_view path, bool* isDirectoryOut) const {
    std::error_code failure;
    fs::file_status status = fs::status(DeviceRoot::resolve(path), failure);
    bool exists = !failure && fs::exists(status);
    if (isDirectoryOut)
        *isDirectoryOut = exists && fs::is_directory(status);
    return exists;
}

std::vector<std::string> NSFileManager::contentsOfDirectoryAtPath(std::string_view path,
                                                                  NSErrorPtr* error) const {
    std::vector<std::string> names;
    std::error_code failure;
    fs::directory_iterator entries(DeviceRoot::resolve(path), failure);
    for (; !failure && entries != fs::directory_iterator(); entries.increment(failure))
        names.push_back(entries->path().filename().string());
    if (failure) {
        platform::reportFileReadError(error, failure.value(), path);
        return {};
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool NSFileManager::moveItemAtPath(std::string_view source, std::string_view destination,
                                   NSErrorPtr* error) const {
    fs::path from = DeviceRoot::resolve(source);
    fs::path to = DeviceRoot::resolve(destination);
    if (!existsWithoutFollowing(from)) {
        platform::reportFileReadError(error, ENOENT, source);
        return false;
    }
    if (!checkDestination(to, destination, error))
        return false;
    std::error_code failure;
    fs::rename(from, to, failure);
    // Across file systems a move is a copy followed by a removal.
    if (failure.value() == EXDEV) {
        failure.clear();
        if (copyTree(from, to, failure))
            fs::remove_all(from, failure);
    }
    if (failure) {
        platform::reportFileWriteError(error, failure.value(), destination);
        return false;
    }
    return true;
}

bool NSFileManager::copyItemAtPath(std::string_view source, std::string_view destination,
                                   NSErrorPtr* error) const {
    fs::path from = DeviceRoot::resolve(source);
    fs::path to = DeviceRoot::resolve(destination);
    if (!existsWithoutFollowing(from)) {
        platform::reportFileReadError(error, ENOENT, source);
        return false;
    }
    if (!checkDestination(to, destination, error))
        return false;
    // A folder copied into itself would never stop growing.
    if (isInside(destination, source)) {
        platform::reportFileWriteError(error, EINVAL, destination);
        return false;
    }
    std::error_code failure;
    if (!copyTree(from, to, failure)) {
        platform::reportFileWriteError(error, failure.value(), destination);
        return false;
    }
    return true;
}
