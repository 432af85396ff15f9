#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "tests/hosts/devserver/ChildProcess.h"
#include "tests/hosts/devserver/TemporaryContentFolder.h"

using nlohmann::json;

namespace {

const std::string executable = CORVALE_DEVSERVER_EXECUTABLE;

std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    }
    return value;
}

// Width of a PNG from its IHDR chunk, 0 when the bytes are no PNG.
std::uint32_t pngWidth(const std::string& bytes) {
    if (bytes.size() < 24 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 ||
        bytes.compare(12, 4, "IHDR") != 0) {
        return 0;
    }
    return bigEndian(bytes, 16);
}

void expectExampleCredits(httplib::SSLClient& client, const json& credits) {
    const std::set<std::string> services = {"website",   "twitter", "reddit", "github", "google-plus",
                                            "instagram", "youtube", "paypal", "email"};
    const std::map<std::string, std::uint32_t> widths = {{"default", 72}, {"2x", 144}, {"3x", 216}};
    ASSERT_EQ(credits["credits"].size(), 3u);
    for (const auto& person : credits["credits"]) {
        EXPECT_TRUE(person["name"].is_string() && person["position"].is_string()) << person;
        ASSERT_GE(person["services"].size(), 2u) << person["name"];
        for (const auto& account : person["services"]) {
            EXPECT_TRUE(services.count(account["service"].get<std::string>())) << account;
            EXPECT_TRUE(account["username"].is_string()) << account;
        }
        for (const auto& [variant, width] : widths) {
            const auto& asset = person["logo"][variant];
            auto response = client.Get(("/credits/asset/" + asset["url"].get<std::string>()).c_str());
            ASSERT_TRUE(response) << asset;
            EXPECT_EQ(response->status, 200) << asset;
            EXPECT_EQ(response->get_header_value("X-Asset-Hash"), asset["hash"]) << asset;
            EXPECT_EQ(pngWidth(response->body), width) << asset;
            EXPECT_LT(response->body.size(), 20u * 1024) << asset;
        }
    }
    ASSERT_EQ(credits["links"].size(), 2u);
    for (const auto& link : credits["links"]) {
        EXPECT_TRUE(link["title"].is_string() && link["url"].is_string()) << link;
    }
}

void expectExampleManifest(httplib::SSLClient& client, const json& manifest, const std::string& baseURL) {
    EXPECT_TRUE(manifest["alert"]["body"].is_string());
    EXPECT_TRUE(manifest["alert"]["rejection_title"].is_string());
    EXPECT_TRUE(manifest["alert"]["call_to_action"]["url"].is_string());
    ASSERT_GE(manifest["header"]["background_items"].size(), 9u);
    for (const auto& item : manifest["header"]["background_items"]) {
        EXPECT_TRUE(item["name"].is_string()) << item;
        EXPECT_TRUE(item["prominence"].is_number_unsigned() && item["prominence"] >= 1 &&
                    item["prominence"] <= 3)
            << item;
    }
    for (const char* image : {"profile", "app"}) {
        auto url = manifest["header"]["foreground_images"][image].get<std::string>();
        ASSERT_EQ(url.rfind(baseURL, 0), 0u) << url;
        auto response = client.Get(url.substr(baseURL.size()).c_str());
        ASSERT_TRUE(response) << url;
        EXPECT_EQ(response->status, 200) << url;
        EXPECT_GT(pngWidth(response->body), 0u) << url;
    }
}

} // namespace

TEST(DevServerExecutable, HelpAndUsageErrorsExitAsDocumented) {
    ChildProcess help({executable, "--help"});
    ASSERT_TRUE(help.started());
    auto firstLine = help.readOutputLine();
    ASSERT_TRUE(firstLine);
    EXPECT_EQ(firstLine->rfind("Usage: corvale-devserver", 0), 0u) << *firstLine;
    EXPECT_EQ(help.wait(), 0);

    ChildProcess badPort({executable, "--port", "http"});
    ASSERT_TRUE(badPort.started());
    EXPECT_EQ(badPort.wait(), 2);
    EXPECT_NE(badPort.readAllErrors().find("--port"), std::string::npos);

    ChildProcess noContent({executable, "--content", "/nonexistent/content"});
    ASSERT_TRUE(noContent.started());
    EXPECT_FALSE(noContent.readOutputLine()) << "no address is announced";
    EXPECT_EQ(noContent.wait(), 1);
}

// Runs the real program on its default content, the example server folder of this tree.
TEST(DevServerExecutable, ServesTheExampleContentOverTLSUntilTerminated) {
    TemporaryContentFolder scratch;
    auto certificate = (scratch.path() / "certificate.pem").string();
    auto log = scratch.path() / "requests.jsonl";
    ChildProcess server({executable, "--tls", "--cert-out", certificate, "--log", log.string()});
    ASSERT_TRUE(server.started());
    EXPECT_EQ(server.readOutputLine(), "certificate: " + certificate);
    auto listening = server.readOutputLine();
    ASSERT_TRUE(listening) << server.readAllErrors();
    const std::string prefix = "listening on https://127.0.0.1:";
    ASSERT_EQ(listening->rfind(prefix, 0), 0u) << *listening;
    int port = std::stoi(listening->substr(prefix.size()));
    auto baseURL = listening->substr(std::string("listening on ").size());

    httplib::SSLClient client("127.0.0.1", port);
    client.set_ca_cert_path(certificate.c_str());
    client.enable_server_certificate_verification(true);
    auto credits = client.Get("/credits/Corvale");
    ASSERT_TRUE(credits) << httplib::to_string(credits.error());
    ASSERT_EQ(credits->status, 200);
    expectExampleCredits(client, json::parse(credits->body));
    auto manifest = client.Get("/static/app/merrow/manifest.json");
    ASSERT_TRUE(manifest);
    ASSERT_EQ(manifest->status, 200);
    expectExampleManifest(client, json::parse(manifest->body), baseURL);

    server.signal(SIGTERM);
    EXPECT_EQ(server.wait(), 0);
    std::ifstream lines(log);
    std::string first;
    ASSERT_TRUE(std::getline(lines, first));
    EXPECT_EQ(json::parse(first), json({{"method", "GET"}, {"path", "/credits/Corvale"}, {"status", 200}}));
}

TEST(DevServerExecutable, InterruptStopsItCleanly) {
    TemporaryContentFolder content;
    ChildProcess server({executable, "--content", content.path().string(), "--port", "0"});
    ASSERT_TRUE(server.started());
    auto listening = server.readOutputLine();
    ASSERT_TRUE(listening);
    EXPECT_EQ(listening->rfind("listening on http://127.0.0.1:", 0), 0u) << *listening;
    server.signal(SIGINT);
    EXPECT_EQ(server.wait(), 0);
}
