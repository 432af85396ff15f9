#include "platform/uikit/CADisplayLink.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/foundation/MediaClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SimulatedDevice.h"

namespace {

[[maybe_unused]] const Class registeredDisplayLink = platform::registerClass<CADisplayLink>("CADisplayLink");

// The first frame of the grid strictly after `now` (a hair of slack keeps a reading that sits on a
// frame from counting as before it).
double nextFrameAfter(double now, double framesPerSecond) {
    return (std::floor(now * framesPerSecond + 1e-6) + 1) / framesPerSecond;
}

// Every link ever scheduled (held weakly), and the apps whose links are stopped.
struct Suspensions {
    std::vector<std::weak_ptr<CADisplayLink>> links;
    std::set<std::string, std::less<>> applications;
};

Suspensions& suspensions() {
    static Suspensions shared;
    return shared;
}

void forgetEnded(Suspensions& all) {
    std::erase_if(all.links, [](const std::weak_ptr<CADisplayLink>& link) { return link.expired(); });
}

} // namespace

CADisplayLink::CADisplayLink() : m_application(platform::SimulatedDevice::applicationIdentifier()) {}

void CADisplayLink::setApplicationSuspended(const std::string& applicationIdentifier, bool suspended) {
    auto& all = suspensions();
    if (suspended)
        all.applications.insert(applicationIdentifier);
    else
        all.applications.erase(applicationIdentifier);
    forgetEnded(all);
    for (const auto& weak : all.links) {
        auto link = weak.lock();
        if (!link || link->m_application != applicationIdentifier)
            continue;
        if (suspended)
            link->cancelTimer();
        else
            link->scheduleNextFrame();
    }
}

bool CADisplayLink::isSuspended() const {
    return suspensions().applications.contains(m_application);
}

std::shared_ptr<CADisplayLink> CADisplayLink::displayLinkWithTarget(const id& target, std::string selector) {
    auto link = std::make_shared<CADisplayLink>();
    link->m_target = target;
    link->m_hasTarget = true;
    link->m_selector = std::move(selector);
    return link;
}

std::shared_ptr<CADisplayLink> CADisplayLink::displayLinkWithHandler(Handler handler) {
    auto link = std::make_shared<CADisplayLink>();
    link->m_handler = std::move(handler);
    return link;
}

CADisplayLink::~CADisplayLink() {
    cancelTimer();
}

void CADisplayLink::addToRunLoop(const std::shared_ptr<NSRunLoop>& runLoop, NSRunLoopMode mode) {
    if (!runLoop || m_invalidated)
        return;
    m_modes.emplace(mode);
    if (!std::exchange(m_known, true)) {
        forgetEnded(suspensions());
        suspensions().links.push_back(selfAs<CADisplayLink>());
    }
    scheduleNextFrame();
}

void CADisplayLink::removeFromRunLoop(const std::shared_ptr<NSRunLoop>& runLoop, NSRunLoopMode mode) {
    if (!runLoop)
        return;
    auto found = m_modes.find(mode);
    if (found != m_modes.end())
        m_modes.erase(found);
    if (m_modes.empty())
        cancelTimer();
}

void CADisplayLink::invalidate() {
    m_invalidated = true;
    m_modes.clear();
    cancelTimer();
    m_target.reset();
    m_handler = nullptr;
}

void CADisplayLink::setPaused(bool paused) {
    m_paused = paused;
    if (paused)
        cancelTimer();
    else
        scheduleNextFrame();
}

void CADisplayLink::scheduleNextFrame() {
    if (m_timer != 0 || !_isScheduled() || m_paused || isSuspended())
        return;
    // The run loop keeps a scheduled link alive, as on the platform.
    auto self = selfAs<CADisplayLink>();
    if (!self)
        return;
    m_timer = platform::RunLoop::main().addTimer(nextFrameAfter(CACurrentMediaTime(), kFramesPerSecond),
                                                 [self] { self->fire(); });
}

void CADisplayLink::cancelTimer() {
    if (m_timer != 0)
        platform::RunLoop::main().cancelTimer(m_timer);
    m_timer = 0;
}

void CADisplayLink::fire() {
    m_timer = 0;
    if (!_isScheduled() || m_paused || isSuspended())
        return;
    double now = CACurrentMediaTime();
    m_timestamp = std::floor(now * kFramesPerSecond + 1e-6) / kFramesPerSecond;
    // The next frame is booked before the target runs, so a target that removes the link cancels it.
    scheduleNextFrame();
    auto self = selfAs<CADisplayLink>();
    if (m_handler) {
        auto handler = m_handler;
        handler(self);
        return;
    }
    auto target = m_target.lock();
    if (!target) {
        if (m_hasTarget)
            invalidate();
        return;
    }
    MessageArguments arguments;
    if (!m_selector.empty() && m_selector.back() == ':')
        arguments.push_back(self);
    objc_msgSend(target, m_selector, arguments);
}
