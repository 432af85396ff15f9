// Neither deliverable links the other: read from the built files themselves, their dynamic
// dependencies (DT_NEEDED) and the symbols they import or export.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct DynamicLinking {
    bool valid = false;
    std::vector<std::string> needed;
    std::vector<std::string> symbols; // every dynamic symbol, defined or undefined
};

template <class T> bool readAt(const std::vector<char>& bytes, std::size_t offset, T& out) {
    if (offset > bytes.size() || bytes.size() - offset < sizeof(T))
        return false;
    std::memcpy(&out, bytes.data() + offset, sizeof(T));
    return true;
}

std::string stringAt(const std::vector<char>& bytes, std::size_t tableOffset, std::size_t tableSize,
                     std::size_t index) {
    if (index >= tableSize || tableOffset + index >= bytes.size())
        return {};
    const char* start = bytes.data() + tableOffset + index;
    return std::string(start,
                       strnlen(start, std::min(tableSize - index, bytes.size() - tableOffset - index)));
}

// A 64-bit ELF file's .dynsym and .dynamic, found through its section headers.
DynamicLinking readDynamicLinking(const std::string& path) {
    std::ifstream stream(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(stream)), {});
    DynamicLinking result;
    Elf64_Ehdr header{};
    if (!readAt(bytes, 0, header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64)
        return result;
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    for (std::size_t index = 0; index < sections.size(); ++index)
        if (!readAt(bytes, header.e_shoff + index * sizeof(Elf64_Shdr), sections[index]))
            return result;
    for (const auto& section : sections) {
        if (section.sh_type != SHT_DYNSYM && section.sh_type != SHT_DYNAMIC)
            continue;
        if (section.sh_link >= sections.size())
            return result;
        const auto& strings = sections[section.sh_link];
        const std::size_t count = section.sh_entsize ? section.sh_size / section.sh_entsize : 0;
        for (std::size_t index = 0; index < count; ++index) {
            const std::size_t offset = section.sh_offset + index * section.sh_entsize;
            if (section.sh_type == SHT_DYNSYM) {
                Elf64_Sym symbol{};
                if (readAt(bytes, offset, symbol) && symbol.st_name)
                    result.symbols.push_back(
                        stringAt(bytes, strings.sh_offset, strings.sh_size, symbol.st_name));
            } else {
                Elf64_Dyn entry{};
                if (readAt(bytes, offset, entry) && entry.d_tag == DT_NEEDED)
                    result.needed.push_back(
                        stringAt(bytes, strings.sh_offset, strings.sh_size, entry.d_un.d_val));
            }
        }
    }
    result.valid = true;
    return result;
}

bool mentions(const std::vector<std::string>& names, const std::string& part) {
    return std::any_of(names.begin(), names.end(),
                       [&](const auto& name) { return name.find(part) != std::string::npos; });
}

TEST(LinkIndependence, NeitherDeliverableLinksTheOther) {
    const auto merrow = readDynamicLinking(MERROW_LIBRARY_FILE);
    const auto pane = readDynamicLinking(CORVALE_SETTINGS_MODULE_FILE);
    ASSERT_TRUE(merrow.valid);
    ASSERT_TRUE(pane.valid);

    // Both need the platform, and nothing of the other.
    EXPECT_TRUE(mentions(merrow.needed, "libplatform"));
    EXPECT_TRUE(mentions(pane.needed, "libplatform"));
    EXPECT_FALSE(mentions(merrow.needed, "CorvaleSettings"));
    EXPECT_FALSE(mentions(pane.needed, "merrow"));

    // The reader really sees each module's own classes, and no symbol of the other's.
    EXPECT_TRUE(mentions(merrow.symbols, "ZRMerrowAlertCoordinator"));
    EXPECT_TRUE(mentions(pane.symbols, "KVCorvale"));
    EXPECT_FALSE(mentions(merrow.symbols, "KVCorvale"));
    EXPECT_FALSE(mentions(pane.symbols, "ZRMerrow"));
    EXPECT_FALSE(mentions(pane.symbols, "merrow"));
}

} // namespace
