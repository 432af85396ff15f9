#include "platform/uikit/CALayer.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/NSLog.h"
#include "platform/uikit/UIView.h"
#include "platform/uikit/ViewAnimator.h"

namespace {

[[maybe_unused]] const Class registeredLayer = platform::registerClass<CALayer>();

float unitInterval(float value) {
    return value >= 0 ? std::min(value, 1.0f) : 0.0f;
}

} // namespace

CGRect CALayer::frame() const {
    if (auto view = m_view.lock())
        return view->frame();
    CGRect local = CGRectMake(-m_bounds.size.width / 2, -m_bounds.size.height / 2, m_bounds.size.width,
                              m_bounds.size.height);
    return CGRectOffset(CGRectApplyAffineTransform(local, m_transform), m_position.x, m_position.y);
}

void CALayer::setFrame(CGRect frame) {
    if (auto view = m_view.lock())
        return view->setFrame(frame);
    frame = CGRectStandardize(frame);
    m_bounds.size = frame.size;
    m_position = CGPointMake(CGRectGetMidX(frame), CGRectGetMidY(frame));
}

CGRect CALayer::bounds() const {
    if (auto view = m_view.lock())
        return view->bounds();
    return m_bounds;
}

void CALayer::setBounds(CGRect bounds) {
    if (auto view = m_view.lock())
        return view->setBounds(bounds);
    m_bounds = bounds;
}

CGPoint CALayer::position() const {
    if (auto view = m_view.lock())
        return view->center();
    return m_position;
}

void CALayer::setPosition(CGPoint position) {
    if (auto view = m_view.lock())
        return view->setCenter(position);
    m_position = position;
}

CGAffineTransform CALayer::affineTransform() const {
    if (auto view = m_view.lock())
        return view->transform();
    return m_transform;
}

float CALayer::opacity() const {
    if (auto view = m_view.lock())
        return static_cast<float>(view->alpha());
    return m_opacity;
}

void CALayer::setOpacity(float opacity) {
    if (auto view = m_view.lock())
        return view->setAlpha(opacity);
    m_opacity = unitInterval(opacity);
}

bool CALayer::isHidden() const {
    if (auto view = m_view.lock())
        return view->isHidden();
    return m_hidden;
}

void CALayer::setHidden(bool hidden) {
    if (auto view = m_view.lock())
        return view->setHidden(hidden);
    m_hidden = hidden;
}

bool CALayer::masksToBounds() const {
    if (auto view = m_view.lock())
        return view->clipsToBounds();
    return m_masksToBounds;
}

void CALayer::setMasksToBounds(bool masks) {
    if (auto view = m_view.lock())
        return view->setClipsToBounds(masks);
    m_masksToBounds = masks;
}

UIColorPtr CALayer::backgroundColor() const {
    if (auto view = m_view.lock())
        return view->backgroundColor();
    return m_backgroundColor;
}

void CALayer::setBackgroundColor(const UIColorPtr& color) {
    if (auto view = m_view.lock())
        return view->setBackgroundColor(color);
    m_backgroundColor = color;
}

void CALayer::setShadowOpacity(float opacity) {
    m_shadowOpacity = unitInterval(opacity);
}

void CALayer::setMask(const std::shared_ptr<CALayer>& mask) {
    if (mask == m_mask)
        return;
    auto self = selfAs<CALayer>();
    if (mask && (mask.get() == this || !mask->m_maskedLayer.expired() || mask->superlayer())) {
        NSLog("-[CALayer setMask:]: %s is this layer, another layer's mask or a sublayer; ignored",
              mask->description().c_str());
        return;
    }
    if (m_mask)
        m_mask->m_maskedLayer.reset();
    m_mask = mask;
    if (m_mask)
        m_mask->m_maskedLayer = self;
}

void CALayer::addSublayer(const std::shared_ptr<CALayer>& layer) {
    auto self = selfAs<CALayer>();
    if (!layer || !self || layer.get() == this || !layer->m_maskedLayer.expired())
        return;
    for (auto ancestor = superlayer(); ancestor; ancestor = ancestor->superlayer())
        if (ancestor == layer)
            return;
    layer->removeFromSuperlayer();
    m_sublayers.push_back(layer);
    layer->m_superlayer = self;
}

void CALayer::removeFromSuperlayer() {
    auto superlayer = this->superlayer();
    if (!superlayer)
        return;
    auto& siblings = superlayer->m_sublayers;
    siblings.erase(
        std::remove_if(siblings.begin(), siblings.end(),
                       [this](const std::shared_ptr<CALayer>& layer) { return layer.get() == this; }),
        siblings.end());
    m_superlayer.reset();
}

std::shared_ptr<CALayer> CALayer::makeCopy() const {
    auto copy = std::make_shared<CALayer>();
    copyValuesInto(*copy);
    return copy;
}

void CALayer::copyValuesInto(CALayer& copy) const {
    copy.m_bounds = bounds();
    copy.m_position = position();
    copy.m_transform = affineTransform();
    copy.m_opacity = opacity();
    copy.m_hidden = isHidden();
    copy.m_masksToBounds = masksToBounds();
    copy.m_backgroundColor = backgroundColor();
    copy.m_borderColor = m_borderColor;
    copy.m_borderWidth = m_borderWidth;
    copy.m_cornerRadius = m_cornerRadius;
    copy.m_shadowColor = m_shadowColor;
    copy.m_shadowOpacity = m_shadowOpacity;
    copy.m_shadowOffset = m_shadowOffset;
    copy.m_shadowRadius = m_shadowRadius;
    copy.m_mask = m_mask;
    copy.m_sublayers = m_sublayers;
    // A copy stands alone: it backs no view and sits in no tree.
    copy.m_view.reset();
    copy.m_superlayer.reset();
    copy.m_maskedLayer.reset();
}

std::shared_ptr<CALayer> CALayer::presentationLayer() const {
    auto copy = makeCopy();
    if (auto view = m_view.lock()) {
        auto values = platform::ViewAnimator::shared().presentationValues(*view);
        copy->m_opacity = static_cast<float>(values.alpha);
        copy->m_position = values.center;
        copy->m_transform = values.transform;
    }
    return copy;
}
