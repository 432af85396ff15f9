#pragma once

#include <cstddef>
#include <string>
#include <thread>
#include <vector>

// A server on 127.0.0.1 that accepts connections and never answers, noting whether its first two
// connections were ever open at the same time (requests made at once, not one after the other).
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;

    std::string url(const std::string& path) const;
    // Waits until it has stopped watching (after two connections, or when none comes: thirty seconds
    // for the first, five for the second); read the results after.
    void finish();
    std::size_t accepted() const { return m_connections.size(); }
    bool overlapped() const { return m_overlapped; }

private:
    int acceptOne(int waitMilliseconds) const;
    void acceptTwo();

    int m_listener = -1;
    int m_port = 0;
    std::vector<int> m_connections;
    bool m_overlapped = false;
    std::thread m_acceptor;
};
