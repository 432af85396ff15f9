#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace platform {

// How a session's transfers behave. HTTPS is always verified; plain HTTP is allowed for loopback
// hosts only, whatever the configuration says.
struct URLSessionConfiguration {
    // Establishing the connection, TLS included.
    std::chrono::milliseconds connectTimeout{std::chrono::seconds(10)};
    // The whole transfer, redirects included.
    std::chrono::milliseconds timeout{std::chrono::seconds(60)};
    // A larger body fails the transfer with NSURLErrorDataLengthExceedsMaximum; it is never cut short.
    std::size_t maximumBodyLength = 16 * 1024 * 1024;
    // Redirects followed before NSURLErrorHTTPTooManyRedirects.
    int maximumRedirects = 5;
    // A PEM file of certificate authorities trusted besides the system's (/etc/ssl/certs), e.g. the
    // dev server's generated certificate. Empty: the system's authorities only.
    std::string trustedCAFile;

    // The values above, with trustedCAFile taken from the CORVALE_CA_FILE environment variable.
    static URLSessionConfiguration defaultConfiguration();
    // What NSURLSession::sharedSession() and NSData::dataWithContentsOfURL use for transfers started
    // from now on: the default configuration until it is set.
    static URLSessionConfiguration sharedConfiguration();
    static void setSharedConfiguration(URLSessionConfiguration configuration);
};

} // namespace platform
