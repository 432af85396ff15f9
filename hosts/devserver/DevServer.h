#pragma once

#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "hosts/devserver/ContentRoutes.h"
#include "hosts/devserver/RequestLog.h"
#include "hosts/devserver/SelfSignedCertificate.h"

namespace corvale::devserver {

struct DevServerOptions {
    std::filesystem::path contentFolder;
    bool useTLS = false;
    // With TLS: where the generated certificate is written as PEM for clients to trust; empty writes
    // nothing (the PEM is still available from certificatePEM()).
    std::filesystem::path certificateOutput;
    // Empty: no request log.
    std::filesystem::path requestLog;
};

// Serves a content folder on 127.0.0.1 only, over HTTP or HTTPS, on a thread of its own.
class DevServer {
public:
    explicit DevServer(DevServerOptions options);
    ~DevServer();
    DevServer(const DevServer&) = delete;
    DevServer& operator=(const DevServer&) = delete;

    // Binds (port 0 picks a free port) and returns the actual port once requests are being served.
    std::optional<int> start(int port, std::string* problem = nullptr);
    void stop();

    int port() const { return m_port; }
    // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT".
    std::string baseURL() const;
    // Empty unless serving HTTPS.
    std::string certificatePEM() const;

private:
    bool createServer(std::string* problem);
    bool bind(int port, std::string* problem);
    void configureServer();
    void waitUntilListening() const;

    DevServerOptions m_options;
    ContentRoutes m_routes;
    std::unique_ptr<RequestLog> m_log;
    std::optional<SelfSignedCertificate> m_certificate;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_listener;
    std::atomic<bool> m_listenerFinished{false};
    int m_port = 0;
};

} // namespace corvale::devserver
