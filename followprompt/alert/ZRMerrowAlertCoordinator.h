#pragma once

#include <memory>
#include <mutex>

#include "platform/foundation/Value.h"
#include "platform/runtime/NSObject.h"

class ZRMerrowAlertController;

// Downloads the follow manifest once per SpringBoard process and holds it for good. The download
// completes on the URL session's queue while SpringBoard's main thread asks about the manifest, so
// both fields are guarded by one mutex.
class ZRMerrowAlertCoordinator : public NSObject {
public:
    // Public for tests, which make coordinators of their own; SpringBoard uses the shared one.
    ZRMerrowAlertCoordinator() = default;

    static std::shared_ptr<ZRMerrowAlertCoordinator> sharedCoordinator();

    // Starts one download unless a manifest is held or a download is running.
    void startDownloadingManifestIfNeeded();
    bool canPresentAlert() const;
    // A new alert built from the manifest; nil while there is none.
    std::shared_ptr<ZRMerrowAlertController> getAlertController() const;

    bool isDownloadInProgress() const;
    // A copy of the held manifest; null while there is none.
    Value heldManifest() const;

private:
    void finishDownload(const Value* parsed);

    mutable std::mutex m_mutex; // guards the two fields below
    Value manifest;
    bool inProgress = false;
};

using ZRMerrowAlertCoordinatorPtr = std::shared_ptr<ZRMerrowAlertCoordinator>;
