#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/UIColor.h"

class UIView;

// A rectangle that is drawn: geometry, opacity, background, rounded corners, border, shadow and a
// mask layer, with sublayers. Colours are UIColors here (the platform takes CGColors).
//
// A view's backing layer shares the view's geometry, opacity, hidden flag, clipping and background:
// reading or setting those on the layer reads or sets the view. A standalone layer (a mask, a
// gradient) keeps its own.
class CALayer : public NSObject {
public:
    static constexpr platform::RegisteredName<CALayer> registeredName{"CALayer"};
    CALayer() = default;
    static std::shared_ptr<CALayer> layer() { return std::make_shared<CALayer>(); }

    CGRect frame() const;
    void setFrame(CGRect frame);
    CGRect bounds() const;
    void setBounds(CGRect bounds);
    CGPoint position() const;
    void setPosition(CGPoint position);
    CGAffineTransform affineTransform() const;
    float opacity() const;
    void setOpacity(float opacity);
    bool isHidden() const;
    void setHidden(bool hidden);
    bool masksToBounds() const;
    void setMasksToBounds(bool masks);
    UIColorPtr backgroundColor() const;
    void setBackgroundColor(const UIColorPtr& color);

    CGFloat cornerRadius() const { return m_cornerRadius; }
    void setCornerRadius(CGFloat radius) { m_cornerRadius = radius > 0 ? radius : 0; }
    CGFloat borderWidth() const { return m_borderWidth; }
    const UIColorPtr& borderColor() const { return m_borderColor; }

    // No shadow until the opacity is above zero; offset (0, -3) and radius 3 by default.
    const UIColorPtr& shadowColor() const { return m_shadowColor; }
    void setShadowColor(const UIColorPtr& color) { m_shadowColor = color; }
    float shadowOpacity() const { return m_shadowOpacity; }
    void setShadowOpacity(float opacity);
    CGSize shadowOffset() const { return m_shadowOffset; }
    void setShadowOffset(CGSize offset) { m_shadowOffset = offset; }
    CGFloat shadowRadius() const { return m_shadowRadius; }
    void setShadowRadius(CGFloat radius) { m_shadowRadius = radius > 0 ? radius : 0; }

    // The layer whose alpha masks this one's drawing, in this layer's coordinates. A layer that is
    // already some layer's mask, or this layer itself, is refused (logged).
    const std::shared_ptr<CALayer>& mask() const { return m_mask; }
    void setMask(const std::shared_ptr<CALayer>& mask);

    const std::vector<std::shared_ptr<CALayer>>& sublayers() const { return m_sublayers; }
    void addSublayer(const std::shared_ptr<CALayer>& layer);
    void removeFromSuperlayer();
    std::shared_ptr<CALayer> superlayer() const { return m_superlayer.lock(); }

    // The view the layer backs, if any.
    std::shared_ptr<UIView> _view() const { return m_view.lock(); }
    void _setView(const std::shared_ptr<UIView>& view) { m_view = view; }

    // A copy with the values now on screen: the model values, with the running animations of the
    // backing view (opacity, position, transform) at the media clock's time.
    std::shared_ptr<CALayer> presentationLayer() const;

protected:
    // A standalone copy of this layer's own values (subclasses copy theirs too).
    virtual std::shared_ptr<CALayer> makeCopy() const;
    void copyValuesInto(CALayer& copy) const;

private:
    std::weak_ptr<UIView> m_view;
    std::weak_ptr<CALayer> m_superlayer;
    std::weak_ptr<CALayer> m_maskedLayer;
    std::vector<std::shared_ptr<CALayer>> m_sublayers;
    std::shared_ptr<CALayer> m_mask;
    CGRect m_bounds = CGRectZero;
    CGPoint m_position = CGPointZero;
    CGAffineTransform m_transform = CGAffineTransformIdentity;
    UIColorPtr m_backgroundColor;
    UIColorPtr m_borderColor;
    UIColorPtr m_shadowColor;
    CGSize m_shadowOffset{0, -3};
    CGFloat m_cornerRadius = 0;
    CGFloat m_borderWidth = 0;
    CGFloat m_shadowRadius = 3;
    float m_opacity = 1;
    float m_shadowOpacity = 0;
    bool m_hidden = false;
    bool m_masksToBounds = false;
};

using CALayerPtr = std::shared_ptr<CALayer>;
