#include "tests/hosts/springboard/SpringBoardScenario.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/foundation/PropertyList.h"
#include "tests/support/ProcessRun.h"

std::filesystem::path SpringBoardScenario::s_installed;

namespace {

std::string contentsOf(const std::filesystem::path& path) {
    return ProcessRun::contentsOf(path);
}

} // namespace

void SpringBoardScenario::SetUpTestSuite() {
    s_installed = std::filesystem::temp_directory_path() / ("merrow-installed-" + std::to_string(::getpid()));
    std::filesystem::remove_all(s_installed);
    ASSERT_TRUE(
        ProcessRun::installComponent(CORVALE_CMAKE_COMMAND, CORVALE_BINARY_DIR, "libmerrow", s_installed));
}

void SpringBoardScenario::TearDownTestSuite() {
    std::error_code ignored;
    std::filesystem::remove_all(s_installed, ignored);
}

void SpringBoardScenario::SetUp() {
    ASSERT_TRUE(std::filesystem::exists(s_installed / "Library"));
    std::filesystem::copy(s_installed, m_root.path(), std::filesystem::copy_options::recursive);
    m_content = m_root.path().parent_path() / (m_root.path().filename().string() + "-content");
    std::filesystem::create_directories(m_content / "merrow");
    std::filesystem::copy(std::filesystem::path(MERROW_EXAMPLE_CONTENT) / "assets", m_content / "assets",
                          std::filesystem::copy_options::recursive);
    serveManifest(exampleManifest());
    corvale::devserver::DevServerOptions options;
    options.contentFolder = m_content;
    options.requestLog = m_content / "requests.log";
    m_server = std::make_unique<corvale::devserver::DevServer>(options);
    ASSERT_TRUE(m_server->start(0));
    ::setenv("MERROW_MANIFEST_SERVER", m_server->baseURL().c_str(), 1);
}

void SpringBoardScenario::TearDown() {
    ::unsetenv("MERROW_MANIFEST_SERVER");
    if (m_server)
        m_server->stop();
    std::error_code ignored;
    std::filesystem::remove_all(m_content, ignored);
}

std::string SpringBoardScenario::exampleManifest() {
    return contentsOf(std::filesystem::path(MERROW_EXAMPLE_CONTENT) / "merrow" / "manifest.json");
}

void SpringBoardScenario::serveManifest(const std::string& text) const {
    std::ofstream(m_content / "merrow" / "manifest.json", std::ios::trunc) << text;
}

int SpringBoardScenario::manifestRequests() const {
    std::ifstream log(m_content / "requests.log");
    int count = 0;
    for (std::string line; std::getline(log, line);)
        count += line.find("/static/app/merrow/manifest.json") != std::string::npos;
    return count;
}

SpringBoardRun SpringBoardScenario::runHost(std::vector<std::string> arguments,
                                            std::chrono::milliseconds limit) const {
    std::vector<std::string> argv{MERROW_SPRINGBOARD_HOST_EXECUTABLE, "--device-root", m_root.path().string(),
                                  "--seed", "3"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const auto process = ProcessRun::run(argv, m_content, ProcessRun::currentEnvironment(), limit);
    SpringBoardRun run;
    run.exitStatus = process.exitStatus;
    std::istringstream lines(process.output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("{")) {
            run.text += line + "\n";
            continue;
        }
        auto parsed = nlohmann::json::parse(line, nullptr, false);
        EXPECT_FALSE(parsed.is_discarded()) << "not JSON: " << line;
        run.dumps.push_back(parsed.is_discarded() ? nlohmann::json() : parsed);
    }
    run.errors = process.errors;
    return run;
}

void SpringBoardScenario::storePromptState(const std::string& key, const Value& value) const {
    const std::string path = "/var/mobile/Library/Preferences/dev.orlan.ios.tweak.lib.libmerrow.plist";
    std::filesystem::create_directories(m_root.hostPath("/var/mobile/Library/Preferences"));
    auto domain = platform::PropertyList::readFile(path).value_or(Value::dictionary());
    domain.set(key, value);
    ASSERT_TRUE(platform::PropertyList::writeFile(path, domain));
}
