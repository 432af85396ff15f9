#pragma once

#include <memory>

class UIScrollView;

// What a scroll view tells its delegate; every callback is optional.
class UIScrollViewDelegate {
public:
    virtual ~UIScrollViewDelegate() = default;

    virtual void scrollViewDidScroll(const std::shared_ptr<UIScrollView>&) {}
    virtual void scrollViewWillBeginDragging(const std::shared_ptr<UIScrollView>&) {}
    virtual void scrollViewDidEndDraggingWillDecelerate(const std::shared_ptr<UIScrollView>&, bool) {}
    virtual void scrollViewDidEndDecelerating(const std::shared_ptr<UIScrollView>&) {}
    virtual void scrollViewDidScrollToTop(const std::shared_ptr<UIScrollView>&) {}
    virtual void scrollViewDidEndScrollingAnimation(const std::shared_ptr<UIScrollView>&) {}
    virtual void scrollViewDidChangeAdjustedContentInset(const std::shared_ptr<UIScrollView>&) {}
};
