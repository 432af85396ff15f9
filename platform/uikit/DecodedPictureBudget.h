#pragma once

#include <atomic>
#include <cstddef>

namespace platform {

// How many bytes of pixels decoded from data one process holds at once. A picture that would take
// the total past the capacity is not kept (its image is nil), so that pictures from outside cannot
// exhaust memory however many of them arrive; its bytes count until the last image using it is gone.
class DecodedPictureBudget {
public:
    static constexpr std::size_t defaultCapacity = 128 * 1024 * 1024;

    static DecodedPictureBudget& shared();

    // False, and nothing taken, when `bytes` do not fit in what is left.
    bool take(std::size_t bytes);
    void giveBack(std::size_t bytes);

    std::size_t held() const { return m_held.load(); }
    std::size_t capacity() const { return m_capacity.load(); }
    void setCapacity(std::size_t bytes) { m_capacity.store(bytes); }

private:
    std::atomic<std::size_t> m_held{0};
    std::atomic<std::size_t> m_capacity{defaultCapacity};
};

} // namespace platform
