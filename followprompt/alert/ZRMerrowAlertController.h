#pragma once

#include <memory>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/uikit/UIAlertController.h"

// The follow alert built from a manifest: title, a message of the body and an optional smaller,
// dimmer footer, an optional call to action (preferred) that opens a URL, the rejection button and,
// from iOS 12.0, the animated header above the title when the manifest has a top-level "header".
class ZRMerrowAlertController : public UIAlertController {
public:
    ZRMerrowAlertController() = default;

    static std::shared_ptr<ZRMerrowAlertController>
    alertControllerWithTitle(std::string title, std::string message, UIAlertControllerStyle style);
    // The manifest must be one that merrow::isAcceptableManifest accepts; optional values of the
    // wrong type are left out as if absent.
    static std::shared_ptr<ZRMerrowAlertController> merrowAlertControllerWithManifest(const Value& manifest);

    // False only when "display_check_url" is a URL that no installed app opens.
    bool isAllowedToShowBasedOnManifest() const;

    // Both let the header's band reach below its own view: clipping goes off on its superview.
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;

    const Value& manifest() const { return m_manifest; }

private:
    std::shared_ptr<UIAlertControllerVisualStyle> currentVisualStyle() const;
    void setMessageFromAlertInfo(const Value& alertInfo);
    void addActionsFromAlertInfo(const Value& alertInfo);
    void unclipHeaderContainer();

    Value m_manifest;
};

using ZRMerrowAlertControllerPtr = std::shared_ptr<ZRMerrowAlertController>;
