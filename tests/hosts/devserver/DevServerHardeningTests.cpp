// The dev server against clients and neighbours that mean harm: links planted where its certificate
// goes, requests with endless headers, and clients that send their headers a byte at a time.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "hosts/devserver/DevServer.h"
#include "tests/hosts/devserver/TemporaryContentFolder.h"

using corvale::devserver::DevServer;
using corvale::devserver::DevServerOptions;
using namespace std::chrono_literals;

namespace {

std::string readAll(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}

int connectTo(int port) {
    int descriptor = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(descriptor);
        return -1;
    }
    timeval patience{10, 0};
    ::setsockopt(descriptor, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    return descriptor;
}

// Sends a whole request and reads the answer's status line; empty when none came.
std::string statusLineFor(int port, const std::string& request) {
    int descriptor = connectTo(port);
    if (descriptor < 0)
        return {};
    ::send(descriptor, request.data(), request.size(), MSG_NOSIGNAL);
    std::string answer;
    char buffer[1024];
    for (ssize_t length; answer.find("\r\n") == std::string::npos &&
                         (length = ::recv(descriptor, buffer, sizeof buffer, 0)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(length));
    ::close(descriptor);
    return answer.substr(0, answer.find("\r\n"));
}

class DevServerHardening : public testing::Test {
protected:
    void SetUp() override {
        content.write("credits/Corvale.json", R"({"credits":[]})");
        DevServerOptions options;
        options.contentFolder = content.path();
        server = std::make_unique<DevServer>(options);
        ASSERT_TRUE(server->start(0));
    }

    TemporaryContentFolder content;
    std::unique_ptr<DevServer> server;
};

} // namespace

TEST(DevServerCertificate, ALinkWhereTheTemporaryFileWouldGoIsNotWrittenThrough) {
    TemporaryContentFolder content;
    const auto certificate = content.path() / "certificate.pem";
    const auto victim = content.path() / "victim.txt";
    std::ofstream(victim) << "keep me";
    // The names a writer using its process number would pick.
    std::filesystem::create_symlink(victim, certificate.string() + ".tmp-" + std::to_string(::getpid()));

    DevServerOptions options;
    options.contentFolder = content.path();
    options.useTLS = true;
    options.certificateOutput = certificate;
    DevServer server(options);
    std::string problem;
    ASSERT_TRUE(server.start(0, &problem)) << problem;
    EXPECT_EQ(readAll(victim), "keep me");
    EXPECT_FALSE(std::filesystem::is_symlink(certificate));
    EXPECT_EQ(readAll(certificate), server.certificatePEM());
    // No temporary file is left beside it: only the certificate and the planted link.
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(content.path()))
        files += entry.path().filename().string().rfind("certificate.pem", 0) == 0 ? 1 : 0;
    EXPECT_EQ(files, 2u);
}

TEST_F(DevServerHardening, ARequestWithMoreThanAHundredHeaderLinesIsRefused) {
    auto request = [](int lines) {
        std::string text = "GET /credits/Corvale HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n";
        for (int line = 2; line < lines; ++line)
            text += "X-Filler-" + std::to_string(line) + ": x\r\n";
        return text + "\r\n";
    };
    EXPECT_EQ(statusLineFor(server->port(), request(100)), "HTTP/1.1 200 OK");
    EXPECT_EQ(statusLineFor(server->port(), request(101)).substr(0, 12), "HTTP/1.1 431");
}

TEST_F(DevServerHardening, ClientsTricklingTheirHeadersDoNotStarveTheOthers) {
    std::atomic<bool> stop{false};
    std::vector<std::thread> tricklers;
    for (int client = 0; client < 8; ++client) {
        tricklers.emplace_back([&, port = server->port()] {
            int descriptor = connectTo(port);
            if (descriptor < 0)
                return;
            const std::string start = "GET /credits/Corvale HTTP/1.1\r\nX-Slow: ";
            ::send(descriptor, start.data(), start.size(), MSG_NOSIGNAL);
            while (!stop && ::send(descriptor, "a", 1, MSG_NOSIGNAL) == 1)
                std::this_thread::sleep_for(500ms);
            ::close(descriptor);
        });
    }
    std::this_thread::sleep_for(300ms); // every trickler has its connection
    // A starved request gets no answer before the client's own ten-second patience runs out.
    EXPECT_EQ(statusLineFor(server->port(), "GET /credits/Corvale HTTP/1.1\r\nConnection: close\r\n\r\n"),
              "HTTP/1.1 200 OK");
    stop = true;
    for (auto& trickler : tricklers)
        trickler.join();
}
