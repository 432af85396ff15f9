#include "tests/support/SilentServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Reads what the client sent; false once it has closed the connection.
bool stillOpen(int connection) {
    char buffer[4096];
    for (;;) {
        ssize_t got = ::recv(connection, buffer, sizeof buffer, MSG_DONTWAIT);
        if (got == 0)
            return false;
        if (got < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK;
    }
}

} // namespace

SilentServer::SilentServer() {
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(m_listener, 8);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptTwo(); });
}

SilentServer::~SilentServer() {
    finish();
    for (int connection : m_connections)
        ::close(connection);
    ::close(m_listener);
}

std::string SilentServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void SilentServer::finish() {
    if (m_acceptor.joinable())
        m_acceptor.join();
}

int SilentServer::acceptOne(int waitMilliseconds) const {
    pollfd waiting{m_listener, POLLIN, 0};
    return ::poll(&waiting, 1, waitMilliseconds) == 1 ? ::accept(m_listener, nullptr, nullptr) : -1;
}

void SilentServer::acceptTwo() {
    int first = acceptOne(30'000);
    if (first < 0)
        return;
    m_connections.push_back(first);
    int second = acceptOne(5'000);
    if (second < 0)
        return;
    m_overlapped = stillOpen(first);
    m_connections.push_back(second);
}
