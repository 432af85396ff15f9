#include "platform/uikit/DecodedPictureBudget.h"

namespace platform {

DecodedPictureBudget& DecodedPictureBudget::shared() {
    static DecodedPictureBudget budget;
    return budget;
}

bool DecodedPictureBudget::take(std::size_t bytes) {
    std::size_t held = m_held.load();
    do {
        if (bytes > m_capacity.load() || held > m_capacity.load() - bytes)
            return false;
    } while (!m_held.compare_exchange_weak(held, held + bytes));
    return true;
}

void DecodedPictureBudget::giveBack(std::size_t bytes) {
    m_held.fetch_sub(bytes);
}

} // namespace platform
