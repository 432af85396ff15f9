#include "platform/foundation/URLLoadingPolicy.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <curl/curl.h>
#include <memory>
#include <netinet/in.h>
#include <string>

#include "platform/foundation/CurlLibrary.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/NSURLError.h"

namespace platform {

namespace {

std::string lowercased(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
    return result;
}

bool isLoopbackIPv4(const std::string& host) {
    in_addr address{};
    // inet_pton takes dotted decimal only, so "127.1" or "0x7f.0.0.1" do not pass for loopback.
    return inet_pton(AF_INET, host.c_str(), &address) == 1 && (ntohl(address.s_addr) >> 24) == 127;
}

bool isLoopbackIPv6(const std::string& host) {
    in6_addr address{};
    return inet_pton(AF_INET6, host.c_str(), &address) == 1 && IN6_IS_ADDR_LOOPBACK(&address);
}

struct CurlURLFree {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

struct CurlStringFree {
    void operator()(char* text) const { curl_free(text); }
};

std::optional<std::string> curlURLPart(CURLU* url, CURLUPart part) {
    char* raw = nullptr;
    if (curl_url_get(url, part, &raw, 0) != CURLUE_OK || !raw)
        return std::nullopt;
    std::unique_ptr<char, CurlStringFree> owned(raw);
    return std::string(owned.get());
}

// The same decision from libcurl's reading of the URL, so that no difference between the two parsers
// lets a plain-HTTP request reach another host.
std::optional<std::int64_t> rejectionByCurl(std::string_view text) {
    initializeCurlOnce();
    std::unique_ptr<CURLU, CurlURLFree> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, std::string(text).c_str(), 0) != CURLUE_OK)
        return NSURLErrorBadURL;
    auto scheme = curlURLPart(url.get(), CURLUPART_SCHEME);
    auto host = curlURLPart(url.get(), CURLUPART_HOST);
    if (!scheme || !host || host->empty())
        return NSURLErrorBadURL;
    auto lowerScheme = lowercased(*scheme);
    if (lowerScheme == "https")
        return std::nullopt;
    if (lowerScheme != "http")
        return NSURLErrorUnsupportedURL;
    if (!URLLoadingPolicy::isLoopbackHost(*host))
        return NSURLErrorAppTransportSecurityRequiresSecureConnection;
    return std::nullopt;
}

} // namespace

bool URLLoadingPolicy::isLoopbackHost(std::string_view host) {
    auto name = lowercased(host);
    if (name == "localhost")
        return true;
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        return isLoopbackIPv6(name.substr(1, name.size() - 2));
    return isLoopbackIPv4(name) || isLoopbackIPv6(name);
}

std::optional<std::int64_t> URLLoadingPolicy::rejectionCode(std::string_view text) {
    auto url = NSURL::URLWithString(text);
    if (!url)
        return NSURLErrorBadURL;
    if (!url->scheme())
        return NSURLErrorUnsupportedURL;
    auto scheme = lowercased(*url->scheme());
    if (scheme != "http" && scheme != "https")
        return NSURLErrorUnsupportedURL;
    auto host = url->host();
    if (!host)
        return NSURLErrorBadURL;
    if (scheme == "http" && !isLoopbackHost(*host))
        return NSURLErrorAppTransportSecurityRequiresSecureConnection;
    return rejectionByCurl(text);
}

std::optional<std::int64_t> URLLoadingPolicy::redirectRejectionCode(std::string_view origin,
                                                                    std::string_view target) {
    if (auto rejection = rejectionCode(target))
        return rejection;
    if (isLoopbackURL(target) && !isLoopbackURL(origin))
        return NSURLErrorBadServerResponse;
    return std::nullopt;
}

bool URLLoadingPolicy::isLoopbackURL(std::string_view text) {
    auto url = NSURL::URLWithString(text);
    auto host = url ? url->host() : std::nullopt;
    return host && isLoopbackHost(*host);
}

} // namespace platform
