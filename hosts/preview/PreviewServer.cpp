#include "hosts/preview/PreviewServer.h"

#include <httplib.h>

#include <chrono>

#include "hosts/preview/FrameEncoder.h"
#include "hosts/preview/PreviewPage.h"
#include "hosts/preview/PreviewTabs.h"

namespace corvale::preview {

namespace {

constexpr auto actionTimeout = std::chrono::seconds(30);
// A stream with nothing new sends a comment this often, which also finds browsers that went away.
constexpr auto keepAliveInterval = std::chrono::seconds(5);
constexpr std::size_t largestAction = 64 * 1024;
constexpr int serverThreads = 8;

void refuse(httplib::Response& response, int status, const std::string& reason) {
    response.status = status;
    response.set_content(reason + "\n", "text/plain; charset=utf-8");
}

std::string eventMessage(const FrameStore::Frame& frame) {
    return "data: {\"sequence\":" + std::to_string(frame.sequence) +
           ",\"hasFrame\":" + (frame.image && !frame.image->empty() ? "true" : "false") +
           ",\"state\":" + *frame.state + "}\n\n";
}

} // namespace

PreviewServer::PreviewServer(FrameStore& frames, MainThreadQueue& mainThread, PreviewTabs& tabs)
    : m_frames(frames), m_mainThread(mainThread), m_tabs(tabs),
      m_server(std::make_unique<httplib::Server>()) {}

PreviewServer::~PreviewServer() {
    stop();
}

bool PreviewServer::start(int port) {
    m_server->new_task_queue = [] { return new httplib::ThreadPool(serverThreads); };
    m_server->set_payload_max_length(largestAction);
    // Loopback only: the preview drives a device that holds the developer's files.
    m_port = port == 0 ? m_server->bind_to_any_port("127.0.0.1")
                       : (m_server->bind_to_port("127.0.0.1", port) ? port : -1);
    if (m_port <= 0)
        return false;
    m_guard = std::make_unique<RequestGuard>(m_port, RequestGuard::randomToken());
    installRoutes();
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    return true;
}

std::string PreviewServer::address() const {
    return "http://127.0.0.1:" + std::to_string(m_port) + "/?token=" + m_guard->token();
}

void PreviewServer::stop() {
    m_frames.close();
    if (m_server)
        m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
}

void PreviewServer::installRoutes() {
    m_server->set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        if (!m_guard->hostAllowed(request.get_header_value("Host"))) {
            refuse(response, 403,
                   "this preview answers only Host 127.0.0.1:" + std::to_string(m_port) +
                       " or localhost:" + std::to_string(m_port));
            return httplib::Server::HandlerResponse::Handled;
        }
        if (!m_guard->tokenMatches(request.get_param_value("token"))) {
            refuse(response, 403, "open the address corvale-preview printed: it holds the token");
            return httplib::Server::HandlerResponse::Handled;
        }
        response.set_header("Cache-Control", "no-store");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    m_server->Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Content-Security-Policy", "default-src 'self'; script-src 'unsafe-inline'; "
                                                       "style-src 'unsafe-inline'; img-src 'self' data:");
        response.set_content(previewPageHTML, "text/html; charset=utf-8");
    });
    m_server->Get("/frame.jpg", [this](const httplib::Request&, httplib::Response& response) {
        auto frame = m_frames.latest();
        if (!frame.image || frame.image->empty())
            return refuse(response, 404, "no frame: the app is not open (the state says why)");
        response.set_content(*frame.image, FrameEncoder::contentType);
    });
    m_server->Get("/state", [this](const httplib::Request&, httplib::Response& response) {
        auto frame = m_frames.latest();
        response.set_content(frame.state ? *frame.state : std::string("null"), "application/json");
    });
    m_server->Get("/stats", [this](const httplib::Request&, httplib::Response& response) {
        auto counts = m_frames.statistics();
        nlohmann::ordered_json stats{
            {"drawn", counts.drawn}, {"encoded", counts.encoded}, {"published", counts.published}};
        response.set_content(stats.dump(), "application/json");
    });
    m_server->Get("/events", [this](const httplib::Request&, httplib::Response& response) {
        response.set_chunked_content_provider(
            "text/event-stream",
            [this, sent = std::uint64_t(0)](std::size_t, httplib::DataSink& sink) mutable {
                auto frame = m_frames.waitNewer(sent, keepAliveInterval);
                if (m_frames.closed()) {
                    sink.done();
                    return true;
                }
                if (!frame)
                    return sink.write(": still here\n\n", 14);
                sent = frame->sequence;
                auto message = eventMessage(*frame);
                return sink.write(message.data(), message.size());
            });
    });
    m_server->Post("/action", [this](const httplib::Request& request, httplib::Response& response) {
        auto action = nlohmann::json::parse(request.body, nullptr, false);
        if (action.is_discarded() || !action.is_object())
            return refuse(response, 400, "an action is a JSON object such as {\"type\": \"back\"}");
        auto answer = m_mainThread.call<std::string>([this, action] { return m_tabs.perform(action).dump(); },
                                                     actionTimeout);
        if (!answer)
            return refuse(response, 503, "the app did not answer in time");
        response.set_content(*answer, "application/json");
    });
}

} // namespace corvale::preview
