#pragma once

#include <memory>
#include <string>

#include "platform/runtime/NSObject.h"

class UIBarButtonItem;
class UIView;

// What a view controller shows in the navigation bar while it is on top.
class UINavigationItem : public NSObject {
public:
    UINavigationItem() = default;

    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    // Shown instead of the title when set.
    const std::shared_ptr<UIView>& titleView() const { return m_titleView; }
    void setTitleView(const std::shared_ptr<UIView>& view) { m_titleView = view; }
    const std::shared_ptr<UIBarButtonItem>& rightBarButtonItem() const { return m_rightBarButtonItem; }
    void setRightBarButtonItem(const std::shared_ptr<UIBarButtonItem>& item, bool animated = false);
    const std::string& backButtonTitle() const { return m_backButtonTitle; }

private:
    std::string m_title;
    std::string m_backButtonTitle;
    std::shared_ptr<UIView> m_titleView;
    std::shared_ptr<UIBarButtonItem> m_rightBarButtonItem;
    std::shared_ptr<UIBarButtonItem> m_leftBarButtonItem;
};
