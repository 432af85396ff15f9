#include "platform/foundation/URLTransfer.h"

#include <algorithm>
#include <limits>
#include <string>

#include "platform/foundation/CurlLibrary.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"
#include "platform/foundation/URLLoadingPolicy.h"

namespace platform {

namespace {

constexpr const char* userAgent = "Corvale-Platform/1.0 CFNetwork (libcurl)";
constexpr const char* allowedProtocols = "http,https";
// Loopback never goes through a proxy taken from the environment.
constexpr const char* proxyExemptHosts = "localhost,127.0.0.0/8,::1";

bool isRedirectStatus(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::int64_t errorCodeForCurl(CURLcode code) {
    switch (code) {
    case CURLE_UNSUPPORTED_PROTOCOL:
        return NSURLErrorUnsupportedURL;
    case CURLE_URL_MALFORMAT:
        return NSURLErrorBadURL;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return NSURLErrorCannotFindHost;
    case CURLE_COULDNT_CONNECT:
        return NSURLErrorCannotConnectToHost;
    case CURLE_OPERATION_TIMEDOUT:
        return NSURLErrorTimedOut;
    case CURLE_TOO_MANY_REDIRECTS:
        return NSURLErrorHTTPTooManyRedirects;
    case CURLE_FILESIZE_EXCEEDED:
        return NSURLErrorDataLengthExceedsMaximum;
    case CURLE_PEER_FAILED_VERIFICATION:
        return NSURLErrorServerCertificateUntrusted;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_ENGINE_INITFAILED:
        return NSURLErrorSecureConnectionFailed;
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_PARTIAL_FILE:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        return NSURLErrorNetworkConnectionLost;
    case CURLE_WEIRD_SERVER_REPLY:
        return NSURLErrorCannotParseResponse;
    case CURLE_BAD_CONTENT_ENCODING:
        return NSURLErrorCannotDecodeContentData;
    case CURLE_ABORTED_BY_CALLBACK:
        return NSURLErrorCancelled;
    default:
        return NSURLErrorUnknown;
    }
}

// Refuses a body whose announced length is already too long, before any of it arrives.
curl_off_t announcedLengthLimit(std::size_t maximumBodyLength) {
    constexpr auto largest = std::numeric_limits<curl_off_t>::max();
    return maximumBodyLength >= static_cast<std::size_t>(largest)
               ? largest
               : static_cast<curl_off_t>(maximumBodyLength);
}

// Collects setopt failures so that one check covers a whole set-up.
class Options {
public:
    explicit Options(CURL* handle) : m_handle(handle) {}

    template <typename Value> Options& set(CURLoption option, Value value) {
        if (curl_easy_setopt(m_handle, option, value) != CURLE_OK)
            m_allSet = false;
        return *this;
    }
    bool allSet() const { return m_allSet; }

private:
    CURL* m_handle;
    bool m_allSet = true;
};

} // namespace

URLTransfer::URLTransfer(std::shared_ptr<NSURL> url, URLSessionConfiguration configuration)
    : m_url(std::move(url)), m_originURL(m_url ? m_url->absoluteString() : std::string()),
      m_configuration(std::move(configuration)), m_deadline(Clock::now() + m_configuration.timeout) {}

URLTransfer::~URLTransfer() {
    if (m_handle)
        curl_easy_cleanup(m_handle);
}

bool URLTransfer::begin() {
    if (!m_url) {
        fail(NSURLErrorBadURL);
        return false;
    }
    if (auto rejection = URLLoadingPolicy::rejectionCode(m_url->absoluteString())) {
        fail(*rejection);
        return false;
    }
    initializeCurlOnce();
    m_handle = curl_easy_init();
    if (!m_handle || !configureHandle()) {
        fail(NSURLErrorUnknown);
        return false;
    }
    return prepareRequest();
}

bool URLTransfer::configureHandle() {
    Options options(m_handle);
    options.set(CURLOPT_NOSIGNAL, 1L)
        .set(CURLOPT_PROTOCOLS_STR, allowedProtocols)
        .set(CURLOPT_REDIR_PROTOCOLS_STR, allowedProtocols)
        .set(CURLOPT_FOLLOWLOCATION, 0L)
        // Header names arrive as the server wrote them only over HTTP/1.x.
        .set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1))
        .set(CURLOPT_ACCEPT_ENCODING, "")
        .set(CURLOPT_MAXFILESIZE_LARGE, announcedLengthLimit(m_configuration.maximumBodyLength))
        .set(CURLOPT_SSL_VERIFYPEER, 1L)
        .set(CURLOPT_SSL_VERIFYHOST, 2L)
        .set(CURLOPT_NOPROXY, proxyExemptHosts)
        .set(CURLOPT_USERAGENT, userAgent)
        .set(CURLOPT_ERRORBUFFER, m_errorText.data())
        .set(CURLOPT_PRIVATE, static_cast<void*>(this))
        .set(CURLOPT_WRITEFUNCTION, &URLTransfer::receiveBody)
        .set(CURLOPT_WRITEDATA, static_cast<void*>(this))
        .set(CURLOPT_HEADERFUNCTION, &URLTransfer::receiveHeader)
        .set(CURLOPT_HEADERDATA, static_cast<void*>(this));
    // The bundle file replaces the system's, but libcurl keeps the system's folder of authorities
    // (/etc/ssl/certs), so the file adds to what is trusted.
    if (!m_configuration.trustedCAFile.empty())
        options.set(CURLOPT_CAINFO, m_configuration.trustedCAFile.c_str());
    return options.allSet();
}

bool URLTransfer::prepareRequest() {
    m_body.clear();
    m_bodyTooLong = false;
    m_headers.reset();
    auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
    if (remaining.count() <= 0) {
        fail(NSURLErrorTimedOut);
        return false;
    }
    auto connectTimeout = std::min(remaining, m_configuration.connectTimeout);
    Options options(m_handle);
    options.set(CURLOPT_URL, m_url->absoluteString().c_str())
        .set(CURLOPT_TIMEOUT_MS, static_cast<long>(remaining.count()))
        .set(CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeout.count()));
    if (!options.allSet()) {
        fail(NSURLErrorUnknown);
        return false;
    }
    return true;
}

bool URLTransfer::followRedirectAfter(CURLcode code) {
    if (code != CURLE_OK) {
        fail(errorCodeFor(code));
        return false;
    }
    long status = 0;
    curl_easy_getinfo(m_handle, CURLINFO_RESPONSE_CODE, &status);
    char* location = nullptr;
    if (isRedirectStatus(status) &&
        curl_easy_getinfo(m_handle, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location)
        return redirect(location);
    finishWithResponse(status);
    return false;
}

bool URLTransfer::redirect(const char* location) {
    std::string target(location);
    if (++m_redirectCount > m_configuration.maximumRedirects) {
        fail(NSURLErrorHTTPTooManyRedirects);
        return false;
    }
    if (auto rejection = URLLoadingPolicy::redirectRejectionCode(m_originURL, target)) {
        m_result = {nullptr, nullptr, makeURLError(*rejection, target)};
        return false;
    }
    m_url = NSURL::URLWithString(target);
    return prepareRequest();
}

void URLTransfer::finishWithResponse(long status) {
    m_result.data = std::make_shared<NSData>(std::move(m_body));
    m_result.response = std::make_shared<NSHTTPURLResponse>(m_url, status, m_headers.takeFields());
    m_result.error = nullptr;
    m_body.clear();
}

void URLTransfer::fail(std::int64_t code) {
    m_result = {nullptr, nullptr, makeURLError(code, m_url ? m_url->absoluteString() : "")};
}

URLTransferResult URLTransfer::takeResult() {
    return std::move(m_result);
}

URLTransferResult URLTransfer::performSynchronously() {
    if (!begin())
        return takeResult();
    while (followRedirectAfter(curl_easy_perform(m_handle))) {
    }
    return takeResult();
}

std::int64_t URLTransfer::errorCodeFor(CURLcode code) const {
    if (code == CURLE_WRITE_ERROR && m_bodyTooLong)
        return NSURLErrorDataLengthExceedsMaximum;
    return errorCodeForCurl(code);
}

std::size_t URLTransfer::receiveBody(char* bytes, std::size_t size, std::size_t count, void* transfer) {
    auto* self = static_cast<URLTransfer*>(transfer);
    std::size_t length = size * count;
    if (length > self->m_configuration.maximumBodyLength - self->m_body.size()) {
        // Anything but the length handed in aborts the transfer.
        self->m_bodyTooLong = true;
        return CURL_WRITEFUNC_ERROR;
    }
    self->m_body.insert(self->m_body.end(), bytes, bytes + length);
    return length;
}

std::size_t URLTransfer::receiveHeader(char* bytes, std::size_t size, std::size_t count, void* transfer) {
    auto* self = static_cast<URLTransfer*>(transfer);
    std::size_t length = size * count;
    self->m_headers.addLine(std::string_view(bytes, length));
    return length;
}

} // namespace platform
