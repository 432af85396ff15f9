#pragma once

#include <string>
#include <string_view>

namespace corvale::preview {

// Who may talk to the preview: a browser on this machine that was given the address. The Host check
// stops a page elsewhere that points its own name at 127.0.0.1 (DNS rebinding); the token stops other
// pages in the same browser, which can reach loopback ports but never saw the printed address.
class RequestGuard {
public:
    RequestGuard(int port, std::string token);

    // A fresh token of 32 hex digits from the system's random source.
    static std::string randomToken();

    // Whether the Host header names this server: "127.0.0.1:<port>" or "localhost:<port>".
    bool hostAllowed(std::string_view host) const;
    // Compared in constant time, so that the answer's timing tells nothing about the token.
    bool tokenMatches(std::string_view token) const;

    const std::string& token() const { return m_token; }

private:
    std::string m_port;
    std::string m_token;
};

} // namespace corvale::preview
