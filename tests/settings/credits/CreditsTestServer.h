#pragma once

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "tests/platform/foundation/URLSessionTestServer.h"

// A credits server inside the test process on 127.0.0.1: answers GETs from a table of canned answers
// (404 for anything else), records every path asked for, and can hold requests back until the test
// lets them go. Connections close after each answer so stopping never waits for an idle client.
class CreditsTestServer {
public:
    struct Answer {
        int status = 200;
        std::string body;
        std::vector<std::pair<std::string, std::string>> headers;
        std::string contentType = "application/json";
    };

    explicit CreditsTestServer(std::unique_ptr<httplib::Server> server = std::make_unique<httplib::Server>(),
                               std::string scheme = "http")
        : m_http(std::move(server), std::move(scheme)) {
        m_http.routes().set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
            std::lock_guard lock(m_mutex);
            m_paths.push_back(request.path);
            return httplib::Server::HandlerResponse::Unhandled;
        });
        m_http.routes().Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            serve(request, response);
        });
    }
    ~CreditsTestServer() { stop(); }
    CreditsTestServer(const CreditsTestServer&) = delete;
    CreditsTestServer& operator=(const CreditsTestServer&) = delete;

    bool start() { return m_http.start(); }
    // Held answers are let go first, or the listener would wait on them.
    void stop() {
        release();
        m_http.stop();
    }

    std::string baseURL() const { return m_http.url(""); }

    void answer(const std::string& path, Answer answer) {
        std::lock_guard lock(m_mutex);
        m_answers[path] = std::move(answer);
    }
    void answerJSON(const std::string& path, std::string body) {
        Answer json;
        json.body = std::move(body);
        answer(path, std::move(json));
    }

    std::vector<std::string> paths() const {
        std::lock_guard lock(m_mutex);
        return m_paths;
    }
    void forgetPaths() {
        std::lock_guard lock(m_mutex);
        m_paths.clear();
    }

    // While held, answers wait (at most 20 s, so a failing test still ends) until release().
    void hold() {
        std::lock_guard lock(m_mutex);
        m_held = true;
    }
    void release() {
        std::lock_guard lock(m_mutex);
        m_held = false;
        m_changed.notify_all();
    }
    int waitingCount() const {
        std::lock_guard lock(m_mutex);
        return m_waiting;
    }

private:
    void serve(const httplib::Request& request, httplib::Response& response) {
        std::unique_lock lock(m_mutex);
        if (m_held) {
            ++m_waiting;
            m_changed.wait_for(lock, std::chrono::seconds(20), [this] { return !m_held; });
            --m_waiting;
        }
        auto found = m_answers.find(request.path);
        if (found == m_answers.end()) {
            response.status = 404;
            response.set_content(R"({"success":false})", "application/json");
            return;
        }
        const Answer& canned = found->second;
        response.status = canned.status;
        for (const auto& [name, value] : canned.headers)
            response.set_header(name, value);
        response.set_content(canned.body, canned.contentType);
    }

    // The listener thread and its lifetime.
    URLSessionTestServer m_http;

    mutable std::mutex m_mutex; // guards the members below
    std::condition_variable m_changed;
    std::map<std::string, Answer> m_answers;
    std::vector<std::string> m_paths;
    bool m_held = false;
    int m_waiting = 0;
};
