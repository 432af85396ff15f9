// UIView: block animations (see platform::ViewAnimator).

#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewAnimator.h"

void UIView::animateWithDuration(double duration, std::function<void()> animations) {
    animateWithDuration(duration, 0, UIViewAnimationOptionCurveEaseInOut, std::move(animations), nullptr);
}

void UIView::animateWithDuration(double duration, std::function<void()> animations,
                                 std::function<void(bool)> completion) {
    animateWithDuration(duration, 0, UIViewAnimationOptionCurveEaseInOut, std::move(animations),
                        std::move(completion));
}

void UIView::animateWithDuration(double duration, double delay, UIViewAnimationOptions options,
                                 std::function<void()> animations, std::function<void(bool)> completion) {
    platform::ViewAnimator::shared().animate(duration, delay, options, animations, std::move(completion));
}

void UIView::performWithoutAnimation(const std::function<void()>& actions) {
    platform::ViewAnimator::shared().performWithoutAnimation(actions);
}
