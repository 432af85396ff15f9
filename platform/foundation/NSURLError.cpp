#include "platform/foundation/NSURLError.h"

#include <string>

namespace platform {

namespace {

const char* describe(std::int64_t code) {
    switch (code) {
    case NSURLErrorCancelled:
        return "cancelled";
    case NSURLErrorBadURL:
        return "bad URL";
    case NSURLErrorTimedOut:
        return "The request timed out.";
    case NSURLErrorUnsupportedURL:
        return "unsupported URL";
    case NSURLErrorCannotFindHost:
        return "A server with the specified hostname could not be found.";
    case NSURLErrorCannotConnectToHost:
        return "Could not connect to the server.";
    case NSURLErrorNetworkConnectionLost:
        return "The network connection was lost.";
    case NSURLErrorHTTPTooManyRedirects:
        return "too many HTTP redirects";
    case NSURLErrorBadServerResponse:
        return "bad server response";
    case NSURLErrorCannotDecodeContentData:
        return "cannot decode raw data";
    case NSURLErrorCannotParseResponse:
        return "cannot parse response";
    case NSURLErrorAppTransportSecurityRequiresSecureConnection:
        return "The resource could not be loaded because the App Transport Security policy requires the "
               "use of a secure connection.";
    case NSURLErrorDataLengthExceedsMaximum:
        return "resource exceeds maximum size";
    case NSURLErrorSecureConnectionFailed:
        return "An SSL error has occurred and a secure connection to the server cannot be made.";
    case NSURLErrorServerCertificateUntrusted:
        return "The certificate for this server is invalid.";
    default:
        return "unknown error";
    }
}

} // namespace

NSErrorPtr makeURLError(std::int64_t code, std::string_view failingURL) {
    std::string description = describe(code);
    if (!failingURL.empty())
        description += " (" + std::string(failingURL) + ")";
    return NSError::errorWithDomain(NSURLErrorDomain, code, std::move(description));
}

} // namespace platform
