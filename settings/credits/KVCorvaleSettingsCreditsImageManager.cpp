#include "settings/credits/KVCorvaleSettingsCreditsImageManager.h"

#include <cmath>
#include <cstdio>

#include "settings/credits/CreditsLocations.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSOutputStream.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLSession.h"
#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIScreen.h"

namespace {

[[maybe_unused]] const Class registeredImageManager =
    platform::registerClass<KVCorvaleSettingsCreditsImageManager>("KVCorvaleSettingsCreditsImageManager");

std::string assetsDirectory() {
    return std::string(corvale::creditsSupportDirectory) + "/Assets";
}

std::string dataFilePath(std::string_view name) {
    return assetsDirectory() + "/" + std::string(name);
}

std::string infoFilePath(std::string_view name) {
    return dataFilePath(name) + ".json";
}

// "2x", "3x", "2.5x": the scale as %g prints it.
std::string densityKey(double scale) {
    char key[64];
    std::snprintf(key, sizeof key, "%gx", scale);
    return key;
}

// The variant for the screen, else the "default" one; null when the logo offers neither.
Value variantForScreen(const Value& logo) {
    if (!logo.isDictionary())
        return Value();
    auto key = densityKey(UIScreen::mainScreen()->scale());
    return logo.contains(key) ? logo[key] : logo["default"];
}

// The header as the server spelled it, or in lower case; other spellings are not looked for.
std::optional<std::string> assetHashHeader(const NSHTTPURLResponse& response) {
    for (std::string_view name : {"X-Asset-Hash", "x-asset-hash"}) {
        for (const auto& [field, value] : response.allHeaderFields()) {
            if (field == name)
                return value;
        }
    }
    return std::nullopt;
}

std::optional<std::string> stringValueOf(const Value& value) {
    return value.isString() ? std::optional<std::string>(value.asString()) : std::nullopt;
}

} // namespace

std::shared_ptr<KVCorvaleSettingsCreditsImageManager> KVCorvaleSettingsCreditsImageManager::init() {
    NSErrorPtr error;
    if (!NSFileManager::defaultManager().createDirectoryAtPath(assetsDirectory(), true, &error)) {
        NSLog("KVSettings couldn't create assets directory: %s",
              error ? error->localizedDescription().c_str() : "(null)");
        return nullptr;
    }
    return std::shared_ptr<KVCorvaleSettingsCreditsImageManager>(new KVCorvaleSettingsCreditsImageManager());
}

std::shared_ptr<NSURL> KVCorvaleSettingsCreditsImageManager::assetsURL() {
    return NSURL::fileURLWithPath(assetsDirectory());
}

std::shared_ptr<NSURL> KVCorvaleSettingsCreditsImageManager::URLForAssetNamed(std::string_view name) {
    return assetsURL()->URLByAppendingPathComponent(name);
}

std::shared_ptr<NSURL> KVCorvaleSettingsCreditsImageManager::infoURLForAssetNamed(std::string_view name) {
    return assetsURL()->URLByAppendingPathComponent(std::string(name) + ".json");
}

std::shared_ptr<NSURL> KVCorvaleSettingsCreditsImageManager::remoteURLForAssetNamed(std::string_view name) {
    return NSURL::URLWithString(corvale::creditsServerBaseURL() + "/credits/asset/" + std::string(name));
}

void KVCorvaleSettingsCreditsImageManager::setPictureSide(double points) {
    // The screen is asked here, on the caller's thread; pictures are decoded on the session's queue too.
    const double pixels = std::ceil(points * UIScreen::mainScreen()->scale());
    auto reduction = platform::ImageReduction{0, platform::ImageReduction::defaultLongestSide};
    if (pixels >= 1 && pixels <= platform::ImageReduction::defaultLongestSide)
        reduction = platform::ImageReduction::toCover(static_cast<std::uint32_t>(pixels));
    std::lock_guard lock(m_mutex);
    m_pictureReduction = reduction;
}

std::shared_ptr<UIImage> KVCorvaleSettingsCreditsImageManager::decodePicture(const NSData& data) const {
    platform::ImageReduction reduction;
    {
        std::lock_guard lock(m_mutex);
        reduction = m_pictureReduction;
    }
    return UIImage::imageWithData(std::span<const std::uint8_t>(data.bytes()), 1, reduction);
}

std::shared_ptr<KVCorvaleSettingsCreditsImageManagerDelegate>
KVCorvaleSettingsCreditsImageManager::delegate() const {
    std::lock_guard lock(m_mutex);
    return m_delegate.lock();
}

void KVCorvaleSettingsCreditsImageManager::setDelegate(
    const std::shared_ptr<KVCorvaleSettingsCreditsImageManagerDelegate>& delegate) {
    std::lock_guard lock(m_mutex);
    m_delegate = delegate;
}

Value KVCorvaleSettingsCreditsImageManager::assetInfo() const {
    std::lock_guard lock(m_mutex);
    return _assetInfo;
}

std::shared_ptr<NSURLSessionDataTask> KVCorvaleSettingsCreditsImageManager::fetchTask() const {
    std::lock_guard lock(m_mutex);
    return m_fetchTask;
}

bool KVCorvaleSettingsCreditsImageManager::downloadSettled() const {
    std::lock_guard lock(m_mutex);
    return !m_lastStartedTask || m_lastStartedTask->state() == NSURLSessionTaskState::Completed;
}

void KVCorvaleSettingsCreditsImageManager::startFetchingAsset(const Value& logo) {
    cancelRunningDownload();
    Value variant = variantForScreen(logo);
    if (!variant.isDictionary())
        variant = Value();
    {
        std::lock_guard lock(m_mutex);
        _assetInfo = variant;
    }
    if (variant.isNull())
        return;
    auto name = stringValueOf(variant["url"]).value_or("");
    // A name that is not a plain file name would read or write outside the assets directory.
    if (!corvale::isAcceptableAssetName(name)) {
        deliver(nullptr);
        return;
    }
    auto cachedHash = _loadFromFile(name);
    auto announcedHash = stringValueOf(variant["hash"]);
    if (cachedHash && announcedHash && *cachedHash == *announcedHash)
        return;
    _fetchFromServer(name);
}

void KVCorvaleSettingsCreditsImageManager::cancelRunningDownload() {
    auto task = fetchTask();
    if (task && task->state() == NSURLSessionTaskState::Running)
        task->cancel();
}

std::optional<std::string> KVCorvaleSettingsCreditsImageManager::_loadFromFile(const std::string& name) {
    auto info = NSData::dataWithContentsOfFile(infoFilePath(name));
    if (!info)
        return std::nullopt;
    auto picture = NSData::dataWithContentsOfFile(dataFilePath(name));
    if (!picture)
        return std::nullopt;
    auto parsedInfo = NSJSONSerialization::JSONObjectWithData(info->bytes());
    if (!parsedInfo)
        return std::nullopt;
    auto storedHash = stringValueOf((*parsedInfo)["hash"]);
    if (!storedHash)
        return std::nullopt;
    if (auto image = decodePicture(*picture))
        provideImage(image, name);
    return storedHash;
}

void KVCorvaleSettingsCreditsImageManager::_fetchFromServer(const std::string& name) {
    auto self = selfAs<KVCorvaleSettingsCreditsImageManager>();
    std::lock_guard lock(m_mutex);
    auto generation = ++m_fetchGeneration;
    m_fetchTask = NSURLSession::sharedSession()->dataTaskWithURL(
        remoteURLForAssetNamed(name), corvale::maximumPictureLength,
        [self, name, generation](std::shared_ptr<NSData> data, std::shared_ptr<NSHTTPURLResponse> response,
                                 NSErrorPtr error) {
            self->handleDownload(name, generation, data, response, error != nullptr);
        });
    m_lastStartedTask = m_fetchTask;
    // Started under the lock so that a cancel from another thread finds the task it is meant for.
    m_fetchTask->resume();
}

void KVCorvaleSettingsCreditsImageManager::handleDownload(const std::string& name, std::uint64_t generation,
                                                          const std::shared_ptr<NSData>& data,
                                                          const std::shared_ptr<NSHTTPURLResponse>& response,
                                                          bool failed) {
    // Cancelled or never connected: nothing to say, and nothing to forget.
    if (!response)
        return;
    {
        std::lock_guard lock(m_mutex);
        if (generation == m_fetchGeneration)
            m_fetchTask = nullptr;
    }
    auto hash = assetHashHeader(*response);
    if (!data || failed || !hash) {
        provideImage(nullptr, name);
        return;
    }
    auto image = decodePicture(*data);
    provideImage(image, name);
    if (image)
        writeCache(name, *data, *hash);
}

void KVCorvaleSettingsCreditsImageManager::writeCache(const std::string& name, const NSData& data,
                                                      const std::string& hash) const {
    data.writeToFile(dataFilePath(name), true);
    auto info = NSJSONSerialization::dataWithJSONObject(Value::dictionary({{"hash", hash}}));
    if (!info)
        return;
    auto stream = NSOutputStream::outputStreamToFileAtPath(infoFilePath(name), false);
    stream->open();
    stream->write(reinterpret_cast<const std::uint8_t*>(info->data()), info->size());
    stream->close();
}

void KVCorvaleSettingsCreditsImageManager::provideImage(const std::shared_ptr<UIImage>& image,
                                                        const std::string& name) {
    bool current = false;
    {
        std::lock_guard lock(m_mutex);
        const Value& currentName = _assetInfo["url"];
        current = currentName.isString() && currentName.asString() == name;
    }
    if (current)
        deliver(image);
}

void KVCorvaleSettingsCreditsImageManager::deliver(const std::shared_ptr<UIImage>& image) {
    if (auto receiver = delegate())
        receiver->creditsImageManagerDidLoadImage(selfAs<KVCorvaleSettingsCreditsImageManager>(), image);
}
