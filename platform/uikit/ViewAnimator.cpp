#include "platform/uikit/ViewAnimator.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/MediaClock.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/SimulatedDevice.h"

namespace platform {

namespace {

double mix(double from, double to, double amount) {
    return from + (to - from) * amount;
}

CGAffineTransform mix(const CGAffineTransform& from, const CGAffineTransform& to, double amount) {
    return {mix(from.a, to.a, amount), mix(from.b, to.b, amount),   mix(from.c, to.c, amount),
            mix(from.d, to.d, amount), mix(from.tx, to.tx, amount), mix(from.ty, to.ty, amount)};
}

} // namespace

ViewAnimator& ViewAnimator::shared() {
    static ViewAnimator animator;
    return animator;
}

void ViewAnimator::animate(double duration, double delay, UIViewAnimationOptions options,
                           const std::function<void()>& animations, std::function<void(bool)> completion) {
    std::uint64_t group = m_nextGroup++;
    m_groups[group].completion = std::move(completion);
    bool animates = std::isfinite(duration) && duration > 0 && m_disabledDepth == 0;
    double safeDelay = std::isfinite(delay) && delay > 0 ? delay : 0;
    m_contexts.push_back({animates ? duration : 0, safeDelay, options, group, animates});
    if (animations)
        animations();
    m_contexts.pop_back();
    m_groups[group].closed = true;
    endGroupIfDone(group, true);
}

void ViewAnimator::performWithoutAnimation(const std::function<void()>& actions) {
    m_contexts.push_back({0, 0, 0, 0, false});
    ++m_disabledDepth;
    if (actions)
        actions();
    --m_disabledDepth;
    m_contexts.pop_back();
}

void ViewAnimator::willChange(UIView& view, Property property, const AnimatableValues& after) {
    if (isRecording())
        record(view, property, after);
    else if (!m_animations.empty())
        cancel(view, property, 0);
}

void ViewAnimator::record(UIView& view, Property property, const AnimatableValues& after) {
    const Context context = m_contexts.back();
    auto handle = view.selfAs<UIView>();
    if (!handle)
        return;
    AnimatableValues from = presentationValues(view);
    cancel(view, property, context.group);
    double start = CACurrentMediaTime() + context.delay;
    m_animations.push_back({handle, &view, property, from, after, start, context.duration,
                            TimingFunction::forOptions(context.options), context.group,
                            SimulatedDevice::applicationIdentifier()});
    ++m_groups[context.group].pending;
    scheduleEnd(start + context.duration);
}

// Ends the view's animations of the property; one of the spared group (the block now recording
// this property again) is simply dropped without marking its block unfinished.
void ViewAnimator::cancel(const UIView& view, Property property, std::uint64_t sparedGroup) {
    for (std::size_t index = m_animations.size(); index-- > 0;) {
        const Animation& animation = m_animations[index];
        if (animation.key == &view && animation.property == property && animation.view.lock().get() == &view)
            finishAnimation(index, animation.group == sparedGroup, true);
    }
}

void ViewAnimator::finishAnimation(std::size_t index, bool finished, bool deferCompletion) {
    std::uint64_t group = m_animations[index].group;
    m_animations.erase(m_animations.begin() + static_cast<std::ptrdiff_t>(index));
    auto position = m_groups.find(group);
    if (position == m_groups.end())
        return;
    if (!finished)
        position->second.finished = false;
    if (position->second.pending > 0)
        --position->second.pending;
    endGroupIfDone(group, deferCompletion);
}

void ViewAnimator::endGroupIfDone(std::uint64_t group, bool deferCompletion) {
    auto position = m_groups.find(group);
    if (position == m_groups.end() || position->second.pending > 0 || !position->second.closed)
        return;
    auto completion = std::move(position->second.completion);
    bool finished = position->second.finished;
    m_groups.erase(position);
    if (!completion)
        return;
    if (deferCompletion)
        RunLoop::main().post([completion = std::move(completion), finished] { completion(finished); });
    else
        completion(finished);
}

void ViewAnimator::scheduleEnd(double endTime) {
    RunLoop::main().addTimer(endTime, [] { ViewAnimator::shared().fireDueAnimations(); });
}

void ViewAnimator::fireDueAnimations() {
    double now = CACurrentMediaTime();
    for (std::size_t index = m_animations.size(); index-- > 0;) {
        if (index >= m_animations.size())
            continue; // a completion above changed the list
        const Animation& animation = m_animations[index];
        if (animation.view.expired() || now >= animation.start + animation.duration)
            finishAnimation(index, !animation.view.expired(), false);
    }
}

AnimatableValues ViewAnimator::valuesOf(const UIView& view) {
    return {view.alpha(), view.center(), view.transform()};
}

void ViewAnimator::blend(AnimatableValues& values, const Animation& animation, double now) {
    double progress = (now - animation.start) / animation.duration;
    double amount = animation.timing.valueAt(std::clamp(progress, 0.0, 1.0));
    switch (animation.property) {
    case Alpha:
        values.alpha = mix(animation.from.alpha, animation.to.alpha, amount);
        break;
    case Center:
        values.center = {mix(animation.from.center.x, animation.to.center.x, amount),
                         mix(animation.from.center.y, animation.to.center.y, amount)};
        break;
    case Transform:
        values.transform = mix(animation.from.transform, animation.to.transform, amount);
        break;
    }
}

AnimatableValues ViewAnimator::presentationValues(const UIView& view) const {
    AnimatableValues values = valuesOf(view);
    if (m_animations.empty())
        return values;
    double now = CACurrentMediaTime();
    for (const Animation& animation : m_animations)
        if (animation.key == &view && animation.view.lock().get() == &view)
            blend(values, animation, now);
    return values;
}

std::size_t ViewAnimator::runningAnimationCount() const {
    return countRunning([](const Animation&) { return true; });
}

std::size_t ViewAnimator::runningAnimationCount(std::string_view applicationIdentifier) const {
    return countRunning([&](const Animation& a) { return a.application == applicationIdentifier; });
}

std::size_t ViewAnimator::countRunning(const std::function<bool(const Animation&)>& counts) const {
    double now = CACurrentMediaTime();
    return static_cast<std::size_t>(
        std::count_if(m_animations.begin(), m_animations.end(), [&](const Animation& a) {
            return !a.view.expired() && now < a.start + a.duration && counts(a);
        }));
}

} // namespace platform
