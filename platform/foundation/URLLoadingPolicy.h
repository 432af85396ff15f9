#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// Which URLs a session may load, decided before any connection or name lookup: https anywhere,
// http only on a loopback host, nothing else. Every redirect target is checked again.
class URLLoadingPolicy {
public:
    // Nothing when the URL may be loaded; otherwise the NSURLErrorDomain code to fail with:
    // NSURLErrorBadURL, NSURLErrorUnsupportedURL or
    // NSURLErrorAppTransportSecurityRequiresSecureConnection.
    static std::optional<std::int64_t> rejectionCode(std::string_view url);
    // The same for a redirect, which must also not lead from another host to loopback: a remote
    // server may not make the device call its own local services. NSURLErrorBadServerResponse then.
    static std::optional<std::int64_t> redirectRejectionCode(std::string_view origin,
                                                             std::string_view target);
    // localhost, 127.0.0.0/8 written as four decimal numbers, or ::1 (brackets allowed).
    static bool isLoopbackHost(std::string_view host);
    // Whether the URL names a loopback host; false for a URL without a host or that does not parse.
    static bool isLoopbackURL(std::string_view url);
};

} // namespace platform
