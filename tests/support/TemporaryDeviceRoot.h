#pragma once

#include <filesystem>
#include <string_view>

// A fresh device root for one test: made empty, selected as the platform's root, removed afterwards.
class TemporaryDeviceRoot {
public:
    TemporaryDeviceRoot();
    ~TemporaryDeviceRoot();
    TemporaryDeviceRoot(const TemporaryDeviceRoot&) = delete;
    TemporaryDeviceRoot& operator=(const TemporaryDeviceRoot&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Host path of a device path inside this root.
    std::filesystem::path hostPath(std::string_view devicePath) const;
    // Writes a file at a device path, making its folders.
    void writeFile(std::string_view devicePath, std::string_view contents) const;
    std::string readFile(std::string_view devicePath) const;

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previousRoot;
};
