#pragma once

#include <cstddef>
#include <cstdint>

#include "tests/support/layout/Choices.h"

namespace layout_testing {

// Decisions read from a byte string, one byte each (two for ranges wider than a byte). Once the
// bytes run out every choice is the lowest, so any input describes a finite system.
class ByteChoices : public Choices {
public:
    ByteChoices(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    int pick(int low, int high) override {
        unsigned span = static_cast<unsigned>(high - low) + 1;
        unsigned raw = next();
        if (span > 256)
            raw = raw << 8 | next();
        return low + static_cast<int>(raw % span);
    }

private:
    unsigned next() { return m_offset < m_size ? m_data[m_offset++] : 0u; }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
};

} // namespace layout_testing
