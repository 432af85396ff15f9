#pragma once

#include <cstdint>
#include <string_view>

#include "platform/foundation/NSError.h"

// Codes of NSURLErrorDomain, with the platform's numbers.
inline constexpr std::int64_t NSURLErrorUnknown = -1;
inline constexpr std::int64_t NSURLErrorCancelled = -999;
inline constexpr std::int64_t NSURLErrorBadURL = -1000;
inline constexpr std::int64_t NSURLErrorTimedOut = -1001;
inline constexpr std::int64_t NSURLErrorUnsupportedURL = -1002;
inline constexpr std::int64_t NSURLErrorCannotFindHost = -1003;
inline constexpr std::int64_t NSURLErrorCannotConnectToHost = -1004;
inline constexpr std::int64_t NSURLErrorNetworkConnectionLost = -1005;
inline constexpr std::int64_t NSURLErrorHTTPTooManyRedirects = -1007;
inline constexpr std::int64_t NSURLErrorBadServerResponse = -1011;
inline constexpr std::int64_t NSURLErrorCannotDecodeContentData = -1016;
inline constexpr std::int64_t NSURLErrorCannotParseResponse = -1017;
inline constexpr std::int64_t NSURLErrorAppTransportSecurityRequiresSecureConnection = -1022;
inline constexpr std::int64_t NSURLErrorDataLengthExceedsMaximum = -1103;
inline constexpr std::int64_t NSURLErrorSecureConnectionFailed = -1200;
inline constexpr std::int64_t NSURLErrorServerCertificateUntrusted = -1202;

namespace platform {

// A NSURLErrorDomain error with the platform's description for the code, naming the URL that failed.
NSErrorPtr makeURLError(std::int64_t code, std::string_view failingURL);

} // namespace platform
