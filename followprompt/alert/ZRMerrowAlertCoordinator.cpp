#include "followprompt/alert/ZRMerrowAlertCoordinator.h"

#include "followprompt/alert/MerrowManifest.h"
#include "followprompt/alert/ZRMerrowAlertController.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/foundation/NSURLSession.h"

namespace {

// Reachable by name, as on the device, so that a host can ask about the download without linking us.
[[maybe_unused]] const Class registeredCoordinator = [] {
    using Coordinator = ZRMerrowAlertCoordinator;
    using platform::bind;
    Class cls = platform::registerClass<Coordinator>("ZRMerrowAlertCoordinator", {
        {"canPresentAlert", bind<&Coordinator::canPresentAlert>(), "B@:"},
        {"isDownloadInProgress", bind<&Coordinator::isDownloadInProgress>(), "B@:"},
    });
    platform::addClassMethods(cls, {{"sharedCoordinator", bind<&Coordinator::sharedCoordinator>()}});
    return cls;
}();

// A manifest is a few kilobytes of text; anything much larger only costs SpringBoard memory.
constexpr std::size_t maximumManifestLength = 256 * 1024;

} // namespace

std::shared_ptr<ZRMerrowAlertCoordinator> ZRMerrowAlertCoordinator::sharedCoordinator() {
    static dispatch_once_t once;
    static std::shared_ptr<ZRMerrowAlertCoordinator> shared;
    dispatch_once(&once, [] { shared = std::make_shared<ZRMerrowAlertCoordinator>(); });
    return shared;
}

void ZRMerrowAlertCoordinator::startDownloadingManifestIfNeeded() {
    {
        std::lock_guard lock(m_mutex);
        if (!manifest.isNull() || inProgress)
            return;
        inProgress = true;
    }
    auto url = merrow::manifestURL();
    if (!url) {
        finishDownload(nullptr);
        return;
    }
    auto self = selfAs<ZRMerrowAlertCoordinator>();
    auto task = NSURLSession::sharedSession()->dataTaskWithURL(
        url, maximumManifestLength,
        [self](std::shared_ptr<NSData> data, std::shared_ptr<NSHTTPURLResponse>, NSErrorPtr error) {
            if (!self)
                return;
            std::optional<Value> parsed;
            if (data && !error) {
                NSErrorPtr parseError;
                parsed = NSJSONSerialization::JSONObjectWithData(data->bytes(), &parseError);
                if (parseError)
                    parsed.reset();
            }
            self->finishDownload(parsed ? &*parsed : nullptr);
        });
    task->resume();
}

void ZRMerrowAlertCoordinator::finishDownload(const Value* parsed) {
    std::lock_guard lock(m_mutex);
    inProgress = false;
    if (parsed && merrow::isAcceptableManifest(*parsed))
        manifest = *parsed;
}

bool ZRMerrowAlertCoordinator::canPresentAlert() const {
    std::lock_guard lock(m_mutex);
    return !manifest.isNull();
}

bool ZRMerrowAlertCoordinator::isDownloadInProgress() const {
    std::lock_guard lock(m_mutex);
    return inProgress;
}

Value ZRMerrowAlertCoordinator::heldManifest() const {
    std::lock_guard lock(m_mutex);
    return manifest;
}

std::shared_ptr<ZRMerrowAlertController> ZRMerrowAlertCoordinator::getAlertController() const {
    const Value held = heldManifest();
    if (held.isNull())
        return nullptr;
    return ZRMerrowAlertController::merrowAlertControllerWithManifest(held);
}
