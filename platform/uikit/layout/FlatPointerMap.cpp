#include "platform/uikit/layout/FlatPointerMap.h"

#include <bit>

namespace platform::layout {

std::size_t FlatPointerMap::home(const void* key) const {
    // Fibonacci hashing: the multiply spreads the pointer's significant middle bits upward.
    auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
    std::uint64_t mixed = (bits >> 4) * 0x9e3779b97f4a7c15ull;
    int shift = 64 - std::countr_zero(m_slots.size());
    return static_cast<std::size_t>(mixed >> shift);
}

// The slot holding the key, or the empty slot where it would go.
std::size_t FlatPointerMap::probe(const void* key) const {
    std::size_t mask = m_slots.size() - 1;
    std::size_t index = home(key);
    while (m_slots[index].key != nullptr && m_slots[index].key != key)
        index = (index + 1) & mask;
    return index;
}

std::uint32_t FlatPointerMap::find(const void* key) const {
    if (m_size == 0)
        return kMissing;
    const Slot& slot = m_slots[probe(key)];
    return slot.key == key ? slot.value : kMissing;
}

bool FlatPointerMap::insert(const void* key, std::uint32_t value) {
    if ((m_size + 1) * 2 > m_slots.size())
        grow();
    Slot& slot = m_slots[probe(key)];
    if (slot.key == key)
        return false;
    slot = Slot{key, value};
    ++m_size;
    return true;
}

// Backward-shift deletion keeps every probe chain unbroken without tombstones.
bool FlatPointerMap::erase(const void* key) {
    if (m_size == 0)
        return false;
    std::size_t mask = m_slots.size() - 1;
    std::size_t hole = probe(key);
    if (m_slots[hole].key != key)
        return false;
    std::size_t next = (hole + 1) & mask;
    while (m_slots[next].key != nullptr) {
        std::size_t wanted = home(m_slots[next].key);
        // Move the entry back into the hole unless its home lies cyclically in (hole, next].
        bool staysPut = hole <= next ? (hole < wanted && wanted <= next) : (hole < wanted || wanted <= next);
        if (!staysPut) {
            m_slots[hole] = m_slots[next];
            hole = next;
        }
        next = (next + 1) & mask;
    }
    m_slots[hole] = Slot{};
    --m_size;
    return true;
}

void FlatPointerMap::clear() {
    m_slots.clear();
    m_size = 0;
}

void FlatPointerMap::grow() {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    for (const Slot& slot : old) {
        if (slot.key != nullptr)
            m_slots[probe(slot.key)] = slot;
    }
}

} // namespace platform::layout
