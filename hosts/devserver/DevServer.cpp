#include "hosts/devserver/DevServer.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sys/socket.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace corvale::devserver {

namespace fs = std::filesystem;

namespace {

constexpr const char* loopbackAddress = "127.0.0.1";
// Clients that keep connections open (libcurl does) would otherwise hold up stop() for the library's
// default of five seconds.
constexpr time_t keepAliveTimeoutSeconds = 1;

// The library's default also sets SO_REUSEPORT, which would let a second server share the port and
// take half of the requests. Rebinding a port whose last connections are still closing is enough.
void allowQuickRebindOnly(socket_t socket) {
    int yes = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

void setProblem(std::string* problem, std::string text) {
    if (problem) {
        *problem = std::move(text);
    }
}

// A client polling for the file never sees it half written. The temporary file is made beside the
// target under a name nobody can guess, and made new (mkstemp opens with O_EXCL): a link planted
// under a predictable name in a shared folder would otherwise have the certificate written through it.
bool writeFileAtomically(const fs::path& file, const std::string& contents) {
    std::string pattern = file.string() + ".XXXXXX";
    int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0)
        return false;
    const fs::path temporary = pattern;
    bool written = ::fchmod(descriptor, 0644) == 0;
    for (std::size_t offset = 0; written && offset < contents.size();) {
        ssize_t count = ::write(descriptor, contents.data() + offset, contents.size() - offset);
        if (count < 0 && errno == EINTR)
            continue;
        written = count > 0;
        offset += written ? static_cast<std::size_t>(count) : 0;
    }
    written = ::close(descriptor) == 0 && written;
    std::error_code error;
    if (written)
        fs::rename(temporary, file, error);
    if (!written || error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
}

// The library adds the peer's and its own address to the headers; they are no lines the client sent.
std::size_t headerLinesSent(const httplib::Request& request) {
    std::size_t lines = request.headers.size();
    for (const char* added : {"REMOTE_ADDR", "REMOTE_PORT", "LOCAL_ADDR", "LOCAL_PORT"})
        lines -= std::min(lines, request.headers.count(added));
    return lines;
}

// Requests are GETs with a few headers; anything larger is not a client of this server.
constexpr std::size_t maximumHeaderLines = 100;
constexpr std::size_t maximumPayloadLength = 64 * 1024;
constexpr time_t readTimeoutSeconds = 2;
constexpr time_t writeTimeoutSeconds = 5;
// cpp-httplib gives each connection a worker until its request has been read, with a timeout per
// read only: a client trickling header bytes holds its worker for as long as it likes. Enough
// workers that a handful of such clients leave plenty for everybody else.
constexpr std::size_t workerCount = 32;

} // namespace

DevServer::DevServer(DevServerOptions options)
    : m_options(std::move(options)), m_routes(ContentFolder(m_options.contentFolder)) {}

DevServer::~DevServer() {
    stop();
}

std::optional<int> DevServer::start(int port, std::string* problem) {
    if (m_server) {
        setProblem(problem, "the server is already running");
        return std::nullopt;
    }
    std::error_code error;
    if (!fs::is_directory(m_options.contentFolder, error)) {
        setProblem(problem, "content folder " + m_options.contentFolder.string() + " is not a directory");
        return std::nullopt;
    }
    if (!m_options.requestLog.empty() && !(m_log = RequestLog::open(m_options.requestLog, problem))) {
        return std::nullopt;
    }
    if (!createServer(problem) || !bind(port, problem)) {
        m_server.reset();
        return std::nullopt;
    }
    m_routes.setServerBaseURL(baseURL());
    m_listenerFinished = false;
    m_listener = std::thread([this] {
        m_server->listen_after_bind();
        m_listenerFinished = true;
    });
    waitUntilListening();
    if (!m_server->is_running()) {
        stop();
        setProblem(problem, "the server stopped at once");
        return std::nullopt;
    }
    return m_port;
}

void DevServer::stop() {
    if (!m_server) {
        return;
    }
    if (m_listener.joinable()) {
        // stop() does nothing until the listener runs, and the join would then wait for ever.
        waitUntilListening();
        m_server->stop();
        m_listener.join();
    }
    m_server.reset();
}

std::string DevServer::baseURL() const {
    return std::string(m_options.useTLS ? "https" : "http") + "://" + loopbackAddress + ":" +
           std::to_string(m_port);
}

std::string DevServer::certificatePEM() const {
    return m_certificate ? m_certificate->certificatePEM() : "";
}

bool DevServer::createServer(std::string* problem) {
    if (!m_options.useTLS) {
        m_server = std::make_unique<httplib::Server>();
        configureServer();
        return true;
    }
    std::string certificateProblem;
    m_certificate =
        SelfSignedCertificate::generate(SelfSignedCertificate::defaultValidity, &certificateProblem);
    if (!m_certificate) {
        setProblem(problem, "cannot generate a certificate: " + certificateProblem);
        return false;
    }
    if (!m_options.certificateOutput.empty() &&
        !writeFileAtomically(m_options.certificateOutput, m_certificate->certificatePEM())) {
        setProblem(problem, "cannot write the certificate to " + m_options.certificateOutput.string());
        return false;
    }
    auto server =
        std::make_unique<httplib::SSLServer>(m_certificate->certificate(), m_certificate->privateKey());
    if (!server->is_valid()) {
        setProblem(problem, "the TLS context rejected the generated certificate");
        return false;
    }
    m_server = std::move(server);
    configureServer();
    return true;
}

bool DevServer::bind(int port, std::string* problem) {
    if (port == 0) {
        m_port = m_server->bind_to_any_port(loopbackAddress);
    } else {
        m_port = m_server->bind_to_port(loopbackAddress, port) ? port : -1;
    }
    if (m_port <= 0) {
        setProblem(problem, "cannot listen on " + std::string(loopbackAddress) + ":" + std::to_string(port));
        m_port = 0;
        return false;
    }
    return true;
}

void DevServer::configureServer() {
    m_server->set_keep_alive_timeout(keepAliveTimeoutSeconds);
    m_server->set_read_timeout(readTimeoutSeconds, 0);
    m_server->set_write_timeout(writeTimeoutSeconds, 0);
    m_server->set_payload_max_length(maximumPayloadLength);
    m_server->new_task_queue = [] { return new httplib::ThreadPool(workerCount); };
    // Answers are small: without this each one waits on the client's delayed acknowledgement.
    m_server->set_tcp_nodelay(true);
    m_server->set_error_handler(
        [](const httplib::Request&, httplib::Response& response) { describeFailure(response); });
    // Logged just before the answer goes out, so a client that has its answer finds the line.
    m_server->set_post_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
        if (m_log) {
            m_log->record(request.method, request.path, response.status);
        }
    });
    m_server->set_socket_options(allowQuickRebindOnly);
    // Counted after the library has read them, so such a request costs one refusal and no more.
    m_server->set_pre_routing_handler([](const httplib::Request& request, httplib::Response& response) {
        if (headerLinesSent(request) <= maximumHeaderLines)
            return httplib::Server::HandlerResponse::Unhandled;
        response.status = 431;
        response.set_header("Connection", "close");
        return httplib::Server::HandlerResponse::Handled;
    });
    m_routes.install(*m_server);
}

void DevServer::waitUntilListening() const {
    while (!m_server->is_running() && !m_listenerFinished) {
        std::this_thread::yield();
    }
}

} // namespace corvale::devserver
