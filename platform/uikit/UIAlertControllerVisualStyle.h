#pragma once

#include <memory>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"

class UIAlertControllerDescriptor;
class UITraitCollection;

// How an alert draws its texts: what the platform's private visual-style object answers. The
// message is 13-point system text in the label colour (dynamic on 13.0 and later, black before).
class UIAlertControllerVisualStyle : public NSObject {
public:
    UIAlertControllerVisualStyle() = default;
    UIAlertControllerVisualStyle(std::shared_ptr<UITraitCollection> traits, bool usesDynamicColors);

    std::shared_ptr<UIFont> messageLabelFont() const;
    std::shared_ptr<UIColor> messageLabelColor() const;

    std::shared_ptr<UITraitCollection> traitCollection() const { return m_traits; }
    std::shared_ptr<UIAlertControllerDescriptor> descriptor() const { return m_descriptor; }
    void setDescriptor(std::shared_ptr<UIAlertControllerDescriptor> descriptor) {
        m_descriptor = std::move(descriptor);
    }

private:
    std::shared_ptr<UITraitCollection> m_traits;
    std::shared_ptr<UIAlertControllerDescriptor> m_descriptor;
    bool m_usesDynamicColors = true;
};

using UIAlertControllerVisualStylePtr = std::shared_ptr<UIAlertControllerVisualStyle>;
