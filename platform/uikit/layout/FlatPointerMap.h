#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::layout {

// Open-addressing hash map from an object's identity to a small index: the solver's lookups of
// variables and constraints, without a node allocation per entry.
class FlatPointerMap {
public:
    static constexpr std::uint32_t kMissing = 0xffffffffu;

    std::uint32_t find(const void* key) const;
    // False (and no change) when the key is already present.
    bool insert(const void* key, std::uint32_t value);
    bool erase(const void* key);
    std::size_t size() const { return m_size; }
    void clear();

private:
    struct Slot {
        const void* key = nullptr;
        std::uint32_t value = 0;
    };

    std::size_t home(const void* key) const;
    std::size_t probe(const void* key) const;
    void grow();

    std::vector<Slot> m_slots;
    std::size_t m_size = 0;
};

} // namespace platform::layout
