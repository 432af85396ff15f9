#include "tests/hosts/preview/RunningPreview.h"

#include <csignal>
#include <regex>
#include <thread>

#include "platform/uikit/ImageDecoder.h"

namespace {

std::vector<std::string> commandLine(const std::filesystem::path& deviceRoot,
                                     std::vector<std::string> extra) {
    std::vector<std::string> arguments{
        CORVALE_PREVIEW_EXECUTABLE, "--device-root", deviceRoot.string(), "--port", "0", "--scale", "2"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
}

} // namespace

RunningPreview::RunningPreview(const std::filesystem::path& deviceRoot,
                               std::vector<std::string> extraArguments)
    : m_process(commandLine(deviceRoot, std::move(extraArguments))) {
    auto line = m_process.readOutputLine();
    greeting = line.value_or("");
    std::smatch match;
    static const std::regex address(R"(^listening on http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32})$)");
    if (!line || !std::regex_match(*line, match, address))
        return;
    m_port = std::stoi(match[1]);
    m_token = match[2];
    m_client = std::make_unique<httplib::Client>("127.0.0.1", m_port);
    m_client->set_read_timeout(std::chrono::seconds(30));
}

RunningPreview::~RunningPreview() {
    stop();
}

int RunningPreview::stop() {
    if (m_stopped || !m_process.started())
        return m_status;
    m_stopped = true;
    m_process.signal(SIGTERM);
    m_status = m_process.wait();
    return m_status;
}

std::string RunningPreview::whyNotListening() {
    auto status = stop();
    return "it printed: " + greeting + "\nexit status " + std::to_string(status) + ", standard error:\n" +
           errors();
}

std::string RunningPreview::withToken(const std::string& path) const {
    return path + (path.find('?') == std::string::npos ? "?" : "&") + "token=" + m_token;
}

httplib::Result RunningPreview::get(const std::string& path) {
    return m_client->Get(withToken(path));
}

nlohmann::json RunningPreview::act(const nlohmann::json& action) {
    auto answer = m_client->Post(withToken("/action"), action.dump(), "application/json");
    if (!answer || answer->status != 200)
        return nullptr;
    return nlohmann::json::parse(answer->body, nullptr, false);
}

nlohmann::json RunningPreview::state() {
    auto answer = get("/state");
    if (!answer || answer->status != 200)
        return nullptr;
    return nlohmann::json::parse(answer->body, nullptr, false);
}

nlohmann::json RunningPreview::waitForState(const std::function<bool(const nlohmann::json&)>& holds,
                                            std::chrono::milliseconds limit) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto current = state();
        if ((current.is_object() && holds(current)) || std::chrono::steady_clock::now() > deadline)
            return current;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

std::optional<platform::Bitmap> RunningPreview::decodeFrame(const std::string& bytes) {
    return platform::ImageDecoder::decode(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}
