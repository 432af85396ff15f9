#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace corvale::preview {

// The latest screen picture and panel state, handed from the main thread to the server's threads.
// A publish that brings the same picture and the same state as the last one is dropped, so the
// browsers hear of a frame only when something they can see changed.
class FrameStore {
public:
    struct Frame {
        std::uint64_t sequence = 0;
        // JPEG bytes (FrameEncoder); empty when the app could not be drawn (the state says why).
        std::shared_ptr<const std::string> image;
        // The panel's JSON text.
        std::shared_ptr<const std::string> state;
    };

    // Whether it was new (and so was given the next sequence number).
    bool publish(std::string image, std::string state);
    Frame latest() const;
    // The first frame after `sequence`; nothing when none came within `timeout` or the store closed.
    std::optional<Frame> waitNewer(std::uint64_t sequence, std::chrono::milliseconds timeout) const;
    // Wakes every waiter for good: the server is stopping.
    void close();
    bool closed() const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    Frame m_latest;
    bool m_closed = false;
};

} // namespace corvale::preview
