#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/runtime/NSObject.h"
#include "platform/uikit/ImageReduction.h"
#include "settings/credits/KVCorvaleSettingsCreditsImageManagerDelegate.h"

class NSData;
class NSHTTPURLResponse;
class NSURL;
class NSURLSessionDataTask;

// Serves one credit's picture at a time from a logo object ({"2x": {"url", "hash"}, "default": ...}):
// picks the variant for the screen's scale, delivers the cached copy at once and downloads when
// nothing current is cached. Results of a download started for an earlier variant are dropped.
class KVCorvaleSettingsCreditsImageManager : public NSObject {
public:
    // Nil, after logging, when the assets directory cannot be created.
    static std::shared_ptr<KVCorvaleSettingsCreditsImageManager> init();

    // Replaces the current variant and cancels a download still running for the previous one.
    void startFetchingAsset(const Value& logo);

    static std::shared_ptr<NSURL> assetsURL();
    static std::shared_ptr<NSURL> URLForAssetNamed(std::string_view name);
    static std::shared_ptr<NSURL> infoURLForAssetNamed(std::string_view name);
    // Nil when the name does not make a URL.
    static std::shared_ptr<NSURL> remoteURLForAssetNamed(std::string_view name);

    // The side in points of the square the delegate shows pictures in: they are decoded just large
    // enough to cover it on the main screen (the cached file keeps the server's bytes). Until it is
    // set, pictures are decoded no longer than 1024 pixels.
    void setPictureSide(double points);

    std::shared_ptr<KVCorvaleSettingsCreditsImageManagerDelegate> delegate() const;
    void setDelegate(const std::shared_ptr<KVCorvaleSettingsCreditsImageManagerDelegate>& delegate);

    // The variant being served (null when none) and the last download started.
    Value assetInfo() const;
    std::shared_ptr<NSURLSessionDataTask> fetchTask() const;
    // No download is running or having its answer handled (decoded, delivered, cached). The fetch
    // task is forgotten as its answer arrives, before that work, so it cannot tell.
    bool downloadSettled() const;

private:
    KVCorvaleSettingsCreditsImageManager() = default;

    void cancelRunningDownload();
    // Delivers a cached picture of the asset and returns the hash stored with it.
    std::optional<std::string> _loadFromFile(const std::string& name);
    void _fetchFromServer(const std::string& name);
    void handleDownload(const std::string& name, std::uint64_t generation,
                        const std::shared_ptr<NSData>& data,
                        const std::shared_ptr<NSHTTPURLResponse>& response, bool failed);
    void writeCache(const std::string& name, const NSData& data, const std::string& hash) const;
    // Delivers only while the asset is still the current variant's.
    void provideImage(const std::shared_ptr<UIImage>& image, const std::string& name);
    void deliver(const std::shared_ptr<UIImage>& image);
    std::shared_ptr<UIImage> decodePicture(const NSData& data) const;

    mutable std::mutex m_mutex; // shared between the caller's thread and the session's queue
    Value _assetInfo;
    std::shared_ptr<NSURLSessionDataTask> m_fetchTask;
    std::shared_ptr<NSURLSessionDataTask> m_lastStartedTask;
    // Counts downloads, so that an older download's completion does not forget a newer task.
    std::uint64_t m_fetchGeneration = 0;
    platform::ImageReduction m_pictureReduction{0, platform::ImageReduction::defaultLongestSide};
    std::weak_ptr<KVCorvaleSettingsCreditsImageManagerDelegate> m_delegate;
};
