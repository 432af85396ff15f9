#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "hosts/devserver/LookupStatus.h"

namespace corvale::devserver {

struct FileContents {
    LookupStatus status = LookupStatus::notFound;
    std::string bytes;
};

// The folder the server serves, read afresh on every request so that an edited file is served at
// once:
//   credits/<tweak name>.json   the credits of one tweak ("credits", "links")
//   assets/<asset name>         pictures named by the credits' logo variants
//   merrow/manifest.json        the follow-prompt manifest
// Only regular files whose real path lies inside their own subfolder are served; a symbolic link
// that leads out of it counts as missing.
class ContentFolder {
public:
    static constexpr std::size_t maximumFileSize = 32 * 1024 * 1024;

    explicit ContentFolder(std::filesystem::path root);

    const std::filesystem::path& root() const { return m_root; }

    FileContents readCreditsSource(std::string_view tweakName) const;
    FileContents readAsset(std::string_view assetName) const;
    FileContents readManifest() const;

private:
    FileContents readFileInside(const std::filesystem::path& folder, const std::string& fileName) const;
    static bool liesInside(const std::filesystem::path& folder, const std::filesystem::path& file);

    std::filesystem::path m_root;
};

} // namespace corvale::devserver
