#pragma once

#include <httplib.h>

#include <atomic>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

// An HTTP or HTTPS server on 127.0.0.1, inside the test process, serving on a thread of its own.
// Connections are closed after each answer, so stopping never waits for an idle client.
class URLSessionTestServer {
public:
    explicit URLSessionTestServer(
        std::unique_ptr<httplib::Server> server = std::make_unique<httplib::Server>(),
        std::string scheme = "http")
        : m_server(std::move(server)), m_scheme(std::move(scheme)) {
        m_server->set_keep_alive_max_count(1);
    }
    ~URLSessionTestServer() { stop(); }
    URLSessionTestServer(const URLSessionTestServer&) = delete;
    URLSessionTestServer& operator=(const URLSessionTestServer&) = delete;

    // Add routes before start().
    httplib::Server& routes() { return *m_server; }

    // Whether the server is now answering.
    bool start() {
        m_port = m_server->bind_to_any_port("127.0.0.1");
        if (m_port <= 0)
            return false;
        m_listener = std::thread([this] {
            m_server->listen_after_bind();
            m_listenerFinished = true;
        });
        waitUntilListening();
        return m_server->is_running();
    }

    void stop() {
        if (!m_listener.joinable())
            return;
        // stop() before the listener runs would be lost, and the join would wait for ever.
        waitUntilListening();
        m_server->stop();
        m_listener.join();
    }

    std::string url(std::string_view path) const {
        return m_scheme + "://127.0.0.1:" + std::to_string(m_port) + std::string(path);
    }

private:
    void waitUntilListening() const {
        while (!m_server->is_running() && !m_listenerFinished)
            std::this_thread::yield();
    }

    std::unique_ptr<httplib::Server> m_server;
    std::string m_scheme;
    std::thread m_listener;
    std::atomic<bool> m_listenerFinished{false};
    int m_port = 0;
};
