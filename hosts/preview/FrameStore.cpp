#include "hosts/preview/FrameStore.h"

namespace corvale::preview {

bool FrameStore::publish(std::string image, std::string state, bool encoded) {
    std::lock_guard lock(m_mutex);
    ++m_statistics.drawn;
    m_statistics.encoded += encoded ? 1 : 0;
    bool samePicture = m_latest.image && *m_latest.image == image;
    bool sameState = m_latest.state && *m_latest.state == state;
    if (samePicture && sameState)
        return false;
    if (!samePicture)
        m_latest.image = std::make_shared<const std::string>(std::move(image));
    if (!sameState)
        m_latest.state = std::make_shared<const std::string>(std::move(state));
    ++m_latest.sequence;
    ++m_statistics.published;
    m_changed.notify_all();
    return true;
}

FrameStore::Statistics FrameStore::statistics() const {
    std::lock_guard lock(m_mutex);
    return m_statistics;
}

FrameStore::Frame FrameStore::latest() const {
    std::lock_guard lock(m_mutex);
    return m_latest;
}

std::optional<FrameStore::Frame> FrameStore::waitNewer(std::uint64_t sequence,
                                                       std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    bool arrived =
        m_changed.wait_for(lock, timeout, [&] { return m_closed || m_latest.sequence > sequence; });
    if (!arrived || m_closed)
        return std::nullopt;
    return m_latest;
}

void FrameStore::close() {
    std::lock_guard lock(m_mutex);
    m_closed = true;
    m_changed.notify_all();
}

bool FrameStore::closed() const {
    std::lock_guard lock(m_mutex);
    return m_closed;
}

} // namespace corvale::preview
