#include "hosts/preview/PreviewLoop.h"

#include <algorithm>

#include "hosts/preview/FrameEncoder.h"
#include "platform/foundation/MediaClock.h"
#include "platform/foundation/RunLoop.h"

namespace corvale::preview {

namespace {

using Clock = std::chrono::steady_clock;

// While something moves the loop wakes at the display's rate; at rest it still wakes to look at the
// watched files.
constexpr auto movingSlice = std::chrono::milliseconds(16);
constexpr auto restingSlice = std::chrono::milliseconds(100);
constexpr auto settleTime = std::chrono::milliseconds(150);

} // namespace

PreviewLoop::PreviewLoop(PreviewTabs& tabs, FrameStore& frames, MainThreadQueue& mainThread)
    : m_tabs(tabs), m_frames(frames), m_mainThread(mainThread) {
    m_watcher.watch(m_tabs.watchedFolders());
}

void PreviewLoop::run(const std::atomic<bool>& stop) {
    publish();
    while (!stop)
        turn(stop);
}

void PreviewLoop::turn(const std::atomic<bool>& stop) {
    auto& runLoop = platform::RunLoop::main();
    auto dueBefore = runLoop.nextTimerFireTime();
    runLoop.runUntil([&] { return stop || m_mainThread.hasPending(); }, slice());
    m_mainThread.runPending();
    bool timerRan = dueBefore && *dueBefore <= CACurrentMediaTime();
    reloadWhenSettled();
    if (m_tabs.takeChanged() || timerRan || moving())
        publish();
}

std::chrono::milliseconds PreviewLoop::slice() const {
    if (!moving())
        return restingSlice;
    // The time a frame took to make counts towards the next one, so frames follow the display's pace.
    auto untilNextFrame =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_lastPublish + movingSlice - Clock::now());
    return std::clamp(untilNextFrame, std::chrono::milliseconds(1), movingSlice);
}

bool PreviewLoop::moving() const {
    return m_tabs.moving();
}

void PreviewLoop::reloadWhenSettled() {
    if (m_watcher.takeChanged())
        m_reloadAt = Clock::now() + settleTime;
    if (!m_reloadAt || Clock::now() < *m_reloadAt)
        return;
    m_reloadAt.reset();
    m_tabs.reloadSettings();
    // A restart may have brought new panes (or lost some), and saved files may be new inodes.
    m_watcher.watch(m_tabs.watchedFolders());
}

void PreviewLoop::publish() {
    m_lastPublish = Clock::now();
    auto screen = m_tabs.drawScreen();
    bool encode = screen && (!m_lastScreen || !screen->hasSamePixels(*m_lastScreen));
    if (!screen) {
        m_lastScreen.reset();
        m_lastImage.clear();
    } else if (encode) {
        m_lastImage = FrameEncoder::encode(*screen);
        m_lastScreen = std::move(screen);
    }
    m_frames.publish(m_lastImage, m_tabs.state().dump(), encode);
}

} // namespace corvale::preview
