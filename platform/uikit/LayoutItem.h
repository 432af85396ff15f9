#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/uikit/NSLayoutAttribute.h"
#include "platform/uikit/layout/Expression.h"
#include "platform/uikit/layout/Variable.h"

class NSLayoutDimension;
class NSLayoutXAxisAnchor;
class NSLayoutYAxisAnchor;
class NSObject;
class UIView;

namespace platform {

class LayoutEngine;

// What constraints can name: a view or a layout guide. Its four unknowns (minimum x and y, width and
// height) are in the coordinates of the top of the view tree, with every bounds origin taken as
// zero, so scrolling never moves a solved frame.
class LayoutItem {
public:
    LayoutItem();
    virtual ~LayoutItem();
    LayoutItem(const LayoutItem&) = delete;
    LayoutItem& operator=(const LayoutItem&) = delete;

    std::shared_ptr<NSLayoutXAxisAnchor> leadingAnchor();
    std::shared_ptr<NSLayoutXAxisAnchor> trailingAnchor();
    std::shared_ptr<NSLayoutXAxisAnchor> leftAnchor();
    std::shared_ptr<NSLayoutXAxisAnchor> rightAnchor();
    std::shared_ptr<NSLayoutXAxisAnchor> centerXAnchor();
    std::shared_ptr<NSLayoutYAxisAnchor> topAnchor();
    std::shared_ptr<NSLayoutYAxisAnchor> bottomAnchor();
    std::shared_ptr<NSLayoutYAxisAnchor> centerYAnchor();
    std::shared_ptr<NSLayoutDimension> widthAnchor();
    std::shared_ptr<NSLayoutDimension> heightAnchor();

    // The view whose tree the item lives in: the view itself, or the guide's owning view.
    virtual UIView* _layoutOwningView() const = 0;
    // The same object as the runtime sees it (nullptr while it is not owned by a shared_ptr).
    virtual std::shared_ptr<NSObject> _layoutObject() = 0;
    std::shared_ptr<LayoutItem> _layoutItemHandle();
    virtual std::string _layoutItemDescription() const = 0;
    // The item that an attribute really names when the other end of the constraint is `other`: a
    // scroll view hands the edges between itself and its content to its content area.
    virtual LayoutItem* _resolvedLayoutItem(NSLayoutAttribute, const LayoutItem* /*other*/) { return this; }

    // --- For the layout engine -------------------------------------------------------------------
    const layout::Variable& _minX() const { return m_minX; }
    const layout::Variable& _minY() const { return m_minY; }
    const layout::Variable& _width() const { return m_width; }
    const layout::Variable& _height() const { return m_height; }
    layout::Expression _expressionFor(NSLayoutAttribute attribute) const;
    // Changes whenever the constraints the engine makes for this item itself must be made again.
    std::uint64_t _layoutRevision() const { return m_layoutRevision; }
    // The engine the item now belongs to, if any.
    LayoutEngine* _layoutEngine() const { return m_engine; }
    void _setLayoutEngine(LayoutEngine* engine) { m_engine = engine; }

protected:
    // The constraints the item makes for itself changed: tells the engine it is a member of.
    void invalidateOwnLayoutConstraints();

private:
    layout::Variable m_minX{"minX"};
    layout::Variable m_minY{"minY"};
    layout::Variable m_width{"width"};
    layout::Variable m_height{"height"};
    std::uint64_t m_layoutRevision = 1;
    LayoutEngine* m_engine = nullptr;
};

} // namespace platform
