#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/LayoutItem.h"
#include "platform/uikit/UIGeometry.h"

class UIView;

// A rectangle that takes part in layout without being a view. The guides here belong to a view and
// are placed by it: the layout margins guide (the view's bounds inset by its margins), the safe area
// guide (inset by its safe area), a view controller's top and bottom layout guides (the bands its
// safe area leaves at the top and bottom of its view), and a scroll view's content and frame guides.
class UILayoutGuide : public NSObject, public platform::LayoutItem {
public:
    enum class Kind { Margins, SafeArea, TopLayout, BottomLayout, Content, Frame };

    UILayoutGuide(UIView& owningView, Kind kind, std::string identifier);

    UIView* owningView() const { return m_owningView; }
    const std::string& identifier() const { return m_identifier; }
    Kind _kind() const { return m_kind; }
    // The frame in the owning view's coordinates, as last solved (margins guides compute it).
    CGRect layoutFrame() const;

    UIView* _layoutOwningView() const override { return m_owningView; }
    std::shared_ptr<NSObject> _layoutObject() override;
    std::string _layoutItemDescription() const override;
    // The guide's position or size changed in a way that must be solved again.
    void _invalidate() { invalidateOwnLayoutConstraints(); }
    // The owning view is going away.
    void _detachOwningView() { m_owningView = nullptr; }

private:
    UIView* m_owningView;
    std::string m_identifier;
    Kind m_kind;
};
