#include "settings/credits/KVCorvaleSettingsCreditsManager.h"

#include "settings/credits/CreditsAnswer.h"
#include "settings/credits/CreditsLocations.h"
#include "platform/foundation/FoundationErrors.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSFileManager.h"
#include "platform/foundation/NSJSONSerialization.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/NSOutputStream.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLSession.h"

using corvale::CreditsAnswer;

namespace {

[[maybe_unused]] const Class registeredManager =
    platform::registerClass<KVCorvaleSettingsCreditsManager>("KVCorvaleSettingsCreditsManager");

std::string cacheFilePath(std::string_view tweakName) {
    return std::string(corvale::creditsSupportDirectory) + "/" + std::string(tweakName) + ".json";
}

Value arrayOrNull(const Value& value) {
    return value.isArray() ? value : Value();
}

} // namespace

KVCorvaleSettingsCreditsManager::KVCorvaleSettingsCreditsManager(std::string tweakName)
    : _tweakName(std::move(tweakName)), m_remoteCreditsURL(remoteCreditsURLForTweakName(_tweakName)),
      m_remoteCreditsHashURL(remoteCreditsHashURLForTweakName(_tweakName)) {}

std::shared_ptr<KVCorvaleSettingsCreditsManager>
KVCorvaleSettingsCreditsManager::initWithTweakName(std::string tweakName) {
    NSErrorPtr error;
    if (!NSFileManager::defaultManager().createDirectoryAtPath(corvale::creditsSupportDirectory, true,
                                                               &error)) {
        NSLog("KVSettings couldn't create credits directory: %s",
              error ? error->localizedDescription().c_str() : "(null)");
        return nullptr;
    }
    return std::shared_ptr<KVCorvaleSettingsCreditsManager>(
        new KVCorvaleSettingsCreditsManager(std::move(tweakName)));
}

std::shared_ptr<NSURL> KVCorvaleSettingsCreditsManager::creditsURLForTweakName(std::string_view tweakName) {
    if (!corvale::isAcceptableTweakName(tweakName))
        return nullptr;
    return NSURL::fileURLWithPath(cacheFilePath(tweakName));
}

std::shared_ptr<NSURL>
KVCorvaleSettingsCreditsManager::remoteCreditsURLForTweakName(std::string_view tweakName) {
    if (!corvale::isAcceptableTweakName(tweakName))
        return nullptr;
    return NSURL::URLWithString(corvale::creditsServerBaseURL() + "/credits/" + std::string(tweakName));
}

std::shared_ptr<NSURL>
KVCorvaleSettingsCreditsManager::remoteCreditsHashURLForTweakName(std::string_view tweakName) {
    auto credits = remoteCreditsURLForTweakName(tweakName);
    return credits ? credits->URLByAppendingPathComponent("hash") : nullptr;
}

std::shared_ptr<KVCorvaleSettingsCreditsManagerDelegate> KVCorvaleSettingsCreditsManager::delegate() const {
    std::lock_guard lock(m_delegateMutex);
    return m_delegate.lock();
}

void KVCorvaleSettingsCreditsManager::setDelegate(
    const std::shared_ptr<KVCorvaleSettingsCreditsManagerDelegate>& delegate) {
    std::lock_guard lock(m_delegateMutex);
    m_delegate = delegate;
}

void KVCorvaleSettingsCreditsManager::startFetch() {
    // A name that is not one path component would take the cache file and the request elsewhere.
    if (!corvale::isAcceptableTweakName(_tweakName)) {
        failWithError(NSError::errorWithDomain(NSCocoaErrorDomain, NSFileReadInvalidFileNameError,
                                               "The tweak name \"" + _tweakName +
                                                   "\" is not a single path component."));
        return;
    }
    if (m_inProgress.exchange(true))
        return;
    auto cachedHash = _loadFromFile();
    m_inProgress = false;
    if (cachedHash)
        _fetchFromServerIfOutdatedWithHash(std::move(*cachedHash));
    else
        _fetchFromServer();
}

void KVCorvaleSettingsCreditsManager::clearLocalStorage() {
    if (!corvale::isAcceptableTweakName(_tweakName))
        return;
    NSFileManager::defaultManager().removeItemAtPath(cacheFilePath(_tweakName));
}

std::optional<std::string> KVCorvaleSettingsCreditsManager::_loadFromFile() {
    // A cache larger than any answer the server may send was not written by us whole.
    auto contents =
        NSData::dataWithContentsOfFile(cacheFilePath(_tweakName), corvale::maximumCreditsAnswerLength);
    if (!contents)
        return std::nullopt;
    auto cache = NSJSONSerialization::JSONObjectWithData(contents->bytes());
    if (!cache || !cache->isDictionary())
        return std::nullopt;
    auto hash = corvale::creditsHashOf(*cache);
    if (hash)
        provideReceivedInformation(*cache);
    return hash;
}

void KVCorvaleSettingsCreditsManager::_fetchFromServer() {
    m_inProgress = true;
    auto self = selfAs<KVCorvaleSettingsCreditsManager>();
    NSURLSession::sharedSession()
        ->dataTaskWithURL(
            m_remoteCreditsURL, corvale::maximumCreditsAnswerLength,
            [self](std::shared_ptr<NSData> data, std::shared_ptr<NSHTTPURLResponse>, NSErrorPtr error) {
                // Cleared once the answer is delivered and cached, so that "not in progress" means
                // the exchange is over.
                self->handleCreditsAnswer(CreditsAnswer::read(data, error));
                self->m_inProgress = false;
            })
        ->resume();
}

void KVCorvaleSettingsCreditsManager::_fetchFromServerIfOutdatedWithHash(std::string cachedHash) {
    m_inProgress = true;
    auto self = selfAs<KVCorvaleSettingsCreditsManager>();
    NSURLSession::sharedSession()
        ->dataTaskWithURL(m_remoteCreditsHashURL, corvale::maximumCreditsAnswerLength,
                          [self, cachedHash = std::move(cachedHash)](std::shared_ptr<NSData> data,
                                                                     std::shared_ptr<NSHTTPURLResponse>,
                                                                     NSErrorPtr error) {
                              // A changed hash starts the download, which stays in progress.
                              if (!self->handleHashAnswer(CreditsAnswer::read(data, error), cachedHash))
                                  self->m_inProgress = false;
                          })
        ->resume();
}

void KVCorvaleSettingsCreditsManager::handleCreditsAnswer(const CreditsAnswer& answer) {
    if (!answer.usable) {
        failWithError(answer.error);
        return;
    }
    provideReceivedInformation(answer.object);
    writeCache(answer.object);
}

bool KVCorvaleSettingsCreditsManager::handleHashAnswer(const CreditsAnswer& answer,
                                                       const std::string& cachedHash) {
    if (!answer.usable) {
        failWithError(answer.error);
        return false;
    }
    // Compared exactly: a hash that differs only in letter case is another version.
    if (answer.hash == cachedHash)
        return false;
    _fetchFromServer();
    return true;
}

void KVCorvaleSettingsCreditsManager::provideReceivedInformation(const Value& information) {
    if (auto receiver = delegate())
        receiver->creditsManagerDidLoadCreditsAndLinks(selfAs<KVCorvaleSettingsCreditsManager>(),
                                                       arrayOrNull(information["credits"]),
                                                       arrayOrNull(information["links"]));
}

void KVCorvaleSettingsCreditsManager::writeCache(Value information) const {
    information.remove("success");
    auto json = NSJSONSerialization::dataWithJSONObject(information);
    if (!json)
        return;
    // A replacing stream writes beside the file and renames on close, so an interrupted write keeps
    // the previous cache whole.
    auto stream = NSOutputStream::outputStreamToFileAtPath(cacheFilePath(_tweakName), false);
    stream->open();
    stream->write(reinterpret_cast<const std::uint8_t*>(json->data()), json->size());
    stream->close();
}

void KVCorvaleSettingsCreditsManager::failWithError(const NSErrorPtr& error) {
    if (auto receiver = delegate())
        receiver->creditsManagerDidFailToLoadWithError(selfAs<KVCorvaleSettingsCreditsManager>(), error);
}
