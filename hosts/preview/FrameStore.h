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

    // How much work the frames took since the start: the page shows it under the tabs, and the tests
    // read it to see that a screen at rest is not drawn again.
    struct Statistics {
        std::uint64_t drawn = 0;
        std::uint64_t encoded = 0;
        std::uint64_t published = 0;
    };

    // Whether it was new (and so was given the next sequence number). `encoded` says whether the
    // screen was drawn differently from the last one and so encoded anew.
    bool publish(std::string image, std::string state, bool encoded = true);
    Statistics statistics() const;
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
    Statistics m_statistics;
    bool m_closed = false;
};

} // namespace corvale::preview
