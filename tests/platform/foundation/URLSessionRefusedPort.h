#pragma once

#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

// A loopback port that refuses connections: bound (so nobody else takes it) but never listening.
class URLSessionRefusedPort {
public:
    URLSessionRefusedPort() {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket >= 0 && ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~URLSessionRefusedPort() {
        if (m_socket >= 0)
            ::close(m_socket);
    }
    URLSessionRefusedPort(const URLSessionRefusedPort&) = delete;
    URLSessionRefusedPort& operator=(const URLSessionRefusedPort&) = delete;

    int port() const { return m_port; }
    std::string url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

private:
    int m_socket = -1;
    int m_port = 0;
};
