#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <curl/curl.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/HTTPHeaderCollector.h"
#include "platform/foundation/URLSessionConfiguration.h"
#include "platform/foundation/URLTransferResult.h"

class NSURL;

namespace platform {

// One GET of a URL with libcurl: sets up the easy handle, collects the body and the headers, follows
// redirects itself (so that every target passes URLLoadingPolicy first) and turns the outcome into a
// URLTransferResult. Whoever drives the handle (URLTransferEngine, or performSynchronously on the
// calling thread) does so from one thread only; the handle is freed with the transfer.
class URLTransfer {
public:
    URLTransfer(std::shared_ptr<NSURL> url, URLSessionConfiguration configuration);
    ~URLTransfer();
    URLTransfer(const URLTransfer&) = delete;
    URLTransfer& operator=(const URLTransfer&) = delete;

    // Readies the handle for the first request; false when the transfer has already failed instead.
    bool begin();
    CURL* handle() const { return m_handle; }
    // After the handle's request ended: true when a redirect is to be followed (the handle is ready
    // for it), false when the transfer is over.
    bool followRedirectAfter(CURLcode code);
    // Ends the transfer with an error, e.g. NSURLErrorCancelled.
    void fail(std::int64_t code);
    // Once the transfer is over.
    URLTransferResult takeResult();

    // The whole transfer on the calling thread, checks included.
    URLTransferResult performSynchronously();

private:
    using Clock = std::chrono::steady_clock;

    static std::size_t receiveBody(char* bytes, std::size_t size, std::size_t count, void* transfer);
    static std::size_t receiveHeader(char* bytes, std::size_t size, std::size_t count, void* transfer);

    bool configureHandle();
    bool prepareRequest();
    bool redirect(const char* location);
    void finishWithResponse(long status);
    std::int64_t errorCodeFor(CURLcode code) const;

    std::shared_ptr<NSURL> m_url; // of the request under way
    const std::string m_originURL; // of the first request: only a loopback origin may lead to loopback
    const URLSessionConfiguration m_configuration;
    const Clock::time_point m_deadline;
    CURL* m_handle = nullptr;
    std::array<char, CURL_ERROR_SIZE> m_errorText{};
    std::vector<std::uint8_t> m_body;
    bool m_bodyTooLong = false;
    HTTPHeaderCollector m_headers;
    int m_redirectCount = 0;
    URLTransferResult m_result;
};

} // namespace platform
