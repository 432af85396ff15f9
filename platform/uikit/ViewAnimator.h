#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/TimingFunction.h"
#include "platform/uikit/UIView.h"

namespace platform {

// The values of a view that animations move.
struct AnimatableValues {
    double alpha = 1;
    CGPoint center = CGPointZero;
    CGAffineTransform transform = CGAffineTransformIdentity;
};

// Runs UIView's block animations on the media clock (main thread only).
//
// While an animation block runs, the view setters report each change of alpha, centre or transform
// here; the model value changes at once and an animation from the value on screen to the new one is
// recorded, starting after the delay. presentationValues() reads where the views are at the clock's
// present time. A new animation of a property that is still animating takes over from where it is on
// screen; the one it replaces counts as not finished. The completion of a block runs from a main run
// loop timer when the block's last animation ends (finished = true unless one was replaced), or on the
// next turn when the block animated nothing.
class ViewAnimator {
public:
    enum Property : std::uint8_t { Alpha = 1, Center = 2, Transform = 4 };

    static ViewAnimator& shared();

    void animate(double duration, double delay, UIViewAnimationOptions options,
                 const std::function<void()>& animations, std::function<void(bool)> completion);
    void performWithoutAnimation(const std::function<void()>& actions);

    // Whether setters should report changes now (inside an animation block).
    bool isRecording() const { return !m_contexts.empty() && m_contexts.back().animates; }
    // A setter is about to change one property of the view to the value in `after`: inside an
    // animation block that records an animation; outside one it ends the property's running
    // animations (not finished), since the value now jumps.
    void willChange(UIView& view, Property property, const AnimatableValues& after);

    AnimatableValues presentationValues(const UIView& view) const;
    // Animations not yet ended, for any view.
    std::size_t runningAnimationCount() const;
    // Animations not yet ended that were started while this app was the current one (SimulatedDevice's
    // application identifier): what moves on its screen when a host runs two apps in one process.
    std::size_t runningAnimationCount(std::string_view applicationIdentifier) const;

private:
    struct Context {
        double duration;
        double delay;
        UIViewAnimationOptions options;
        std::uint64_t group;
        bool animates;
    };
    struct Group {
        std::function<void(bool)> completion;
        std::size_t pending = 0;
        bool finished = true;
        bool closed = false;
    };
    struct Animation {
        std::weak_ptr<UIView> view;
        const UIView* key;
        Property property;
        AnimatableValues from;
        AnimatableValues to;
        double start;
        double duration;
        TimingFunction timing;
        std::uint64_t group;
        std::string application;
    };

    ViewAnimator() = default;
    std::size_t countRunning(const std::function<bool(const Animation&)>& counts) const;
    static AnimatableValues valuesOf(const UIView& view);
    static void blend(AnimatableValues& values, const Animation& animation, double now);
    void record(UIView& view, Property property, const AnimatableValues& after);
    void cancel(const UIView& view, Property property, std::uint64_t sparedGroup);
    void finishAnimation(std::size_t index, bool finished, bool deferCompletion);
    void endGroupIfDone(std::uint64_t group, bool deferCompletion);
    void fireDueAnimations();
    void scheduleEnd(double endTime);

    std::vector<Context> m_contexts;
    std::vector<Animation> m_animations;
    std::map<std::uint64_t, Group> m_groups;
    std::uint64_t m_nextGroup = 1;
    // Inside performWithoutAnimation even nested animation blocks change values at once.
    int m_disabledDepth = 0;
};

} // namespace platform
