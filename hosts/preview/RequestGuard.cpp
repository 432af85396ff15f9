#include "hosts/preview/RequestGuard.h"

#include <random>

namespace corvale::preview {

RequestGuard::RequestGuard(int port, std::string token)
    : m_port(std::to_string(port)), m_token(std::move(token)) {}

std::string RequestGuard::randomToken() {
    static constexpr char digits[] = "0123456789abcdef";
    std::random_device source;
    std::uniform_int_distribution<int> digit(0, 15);
    std::string token;
    for (int index = 0; index < 32; ++index)
        token += digits[digit(source)];
    return token;
}

bool RequestGuard::hostAllowed(std::string_view host) const {
    return host == "127.0.0.1:" + m_port || host == "localhost:" + m_port;
}

bool RequestGuard::tokenMatches(std::string_view token) const {
    if (token.size() != m_token.size() || m_token.empty())
        return false;
    unsigned char difference = 0;
    for (std::size_t index = 0; index < token.size(); ++index)
        difference |= static_cast<unsigned char>(token[index] ^ m_token[index]);
    return difference == 0;
}

} // namespace corvale::preview
