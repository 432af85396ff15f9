#include "hosts/devserver/ContentFolder.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "hosts/devserver/ResourceName.h"

namespace corvale::devserver {

namespace fs = std::filesystem;

ContentFolder::ContentFolder(fs::path root) : m_root(std::move(root)) {}

FileContents ContentFolder::readCreditsSource(std::string_view tweakName) const {
    if (!isAcceptableResourceName(tweakName)) {
        return {LookupStatus::invalidName, {}};
    }
    return readFileInside(m_root / "credits", std::string(tweakName) + ".json");
}

FileContents ContentFolder::readAsset(std::string_view assetName) const {
    if (!isAcceptableResourceName(assetName)) {
        return {LookupStatus::invalidName, {}};
    }
    return readFileInside(m_root / "assets", std::string(assetName));
}

FileContents ContentFolder::readManifest() const {
    return readFileInside(m_root / "merrow", "manifest.json");
}

FileContents ContentFolder::readFileInside(const fs::path& folder, const std::string& fileName) const {
    auto file = folder / fileName;
    std::error_code error;
    auto status = fs::status(file, error);
    if (error || !fs::is_regular_file(status) || !liesInside(folder, file)) {
        return {LookupStatus::notFound, {}};
    }
    auto size = fs::file_size(file, error);
    if (error || size > maximumFileSize) {
        return {LookupStatus::unusable, {}};
    }
    std::ifstream stream(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!stream.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        return {LookupStatus::unusable, {}};
    }
    return {LookupStatus::found, std::move(bytes)};
}

bool ContentFolder::liesInside(const fs::path& folder, const fs::path& file) {
    std::error_code error;
    auto resolvedFolder = fs::canonical(folder, error);
    if (error) {
        return false;
    }
    auto resolvedFile = fs::canonical(file, error);
    if (error) {
        return false;
    }
    auto [folderEnd, fileEnd] =
        std::mismatch(resolvedFolder.begin(), resolvedFolder.end(), resolvedFile.begin(), resolvedFile.end());
    return folderEnd == resolvedFolder.end() && fileEnd != resolvedFile.end();
}

} // namespace corvale::devserver
