#pragma once

#include <memory>

class KVCorvaleSettingsCreditsImageManager;
class UIImage;

// Receives the pictures of a credits image manager: a cached one on the thread that asked for it, a
// downloaded one (or nil for a download that gave no usable picture) on the URL session's background
// queue. Hop to the main queue before touching views.
class KVCorvaleSettingsCreditsImageManagerDelegate {
public:
    virtual ~KVCorvaleSettingsCreditsImageManagerDelegate() = default;

    virtual void
    creditsImageManagerDidLoadImage(const std::shared_ptr<KVCorvaleSettingsCreditsImageManager>& manager,
                                    const std::shared_ptr<UIImage>& image) = 0;
};
