#include "tests/hosts/devserver/TemporaryContentFolder.h"

#include <cstdlib>
#include <fstream>
#include <string>

TemporaryContentFolder::TemporaryContentFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvale-devserver-test-XXXXXX").string();
    if (::mkdtemp(pattern.data())) {
        m_path = pattern;
    }
}

TemporaryContentFolder::~TemporaryContentFolder() {
    std::error_code ignored;
    if (!m_path.empty()) {
        std::filesystem::remove_all(m_path, ignored);
    }
}

void TemporaryContentFolder::write(std::string_view relativePath, std::string_view contents) const {
    auto file = m_path / relativePath;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << contents;
}
