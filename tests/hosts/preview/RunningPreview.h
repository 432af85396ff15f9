#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "platform/uikit/Bitmap.h"
#include "tests/hosts/devserver/ChildProcess.h"

// corvale-preview running against a device root, and a client that talks to it as the page does.
class RunningPreview {
public:
    RunningPreview(const std::filesystem::path& deviceRoot, std::vector<std::string> extraArguments = {});
    ~RunningPreview();

    // Whether it printed its address; the line it printed otherwise is in `greeting`.
    bool listening() const { return m_port > 0; }
    int port() const { return m_port; }
    const std::string& token() const { return m_token; }
    std::string greeting;
    // For a preview that is not listening: the greeting and, once it has stopped, its exit status
    // and standard error (where a sanitizer's report or a failure to start is).
    std::string whyNotListening();

    // GET with the token; the answer, or nullptr when the connection failed.
    httplib::Result get(const std::string& path);
    // An action through POST /action; its JSON answer (null when there was none).
    nlohmann::json act(const nlohmann::json& action);
    // The panel's state as the event stream last carried it.
    nlohmann::json state();
    // Polls the state until `holds` is true of it or `limit` passes; the last state read.
    nlohmann::json waitForState(const std::function<bool(const nlohmann::json&)>& holds,
                                std::chrono::milliseconds limit = std::chrono::seconds(5));
    // Sends SIGTERM and gives the exit status (the same status again when called again).
    int stop();
    // What it wrote on standard error, once stopped.
    std::string errors() { return m_process.readAllErrors(); }

    httplib::Client& client() { return *m_client; }

    // A frame's picture as the browser would decode it; nothing when the bytes are no picture.
    static std::optional<platform::Bitmap> decodeFrame(const std::string& bytes);

private:
    std::string withToken(const std::string& path) const;

    ChildProcess m_process;
    std::unique_ptr<httplib::Client> m_client;
    int m_port = 0;
    std::string m_token;
    bool m_stopped = false;
    int m_status = -1;
};
