#pragma once

#include <filesystem>
#include <string_view>

// A content folder for one test, removed afterwards.
class TemporaryContentFolder {
public:
    TemporaryContentFolder();
    ~TemporaryContentFolder();
    TemporaryContentFolder(const TemporaryContentFolder&) = delete;
    TemporaryContentFolder& operator=(const TemporaryContentFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Writes a file at a path relative to the folder, making its folders.
    void write(std::string_view relativePath, std::string_view contents) const;

private:
    std::filesystem::path m_path;
};
