#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "tests/hosts/devserver/TemporaryContentFolder.h"
#include "hosts/devserver/DevServer.h"
#include "hosts/devserver/Sha256.h"

using corvale::devserver::DevServer;
using corvale::devserver::DevServerOptions;
using corvale::devserver::sha256Hex;
using nlohmann::json;

namespace {

const char* const tweakCredits = R"({
    "success": false, "hash": "written by hand",
    "credits": [{
        "name": "Ada", "position": "Developer",
        "logo": {"2x": {"url": "ada-2x.png"}, "default": {"url": "ada.png", "hash": "stale"},
                 "3x": {"url": "missing.png", "hash": "kept"}},
        "services": [{"service": "github", "username": "ada"}]
    }],
    "links": [{"title": "Site", "url": "https://example.com/"}]
})";

DevServerOptions optionsFor(const std::filesystem::path& contentFolder) {
    DevServerOptions options;
    options.contentFolder = contentFolder;
    return options;
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}

class DevServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        content.write("credits/Tweak.json", tweakCredits);
        content.write("assets/ada-2x.png", std::string("\x89PNG\0two\xff", 10));
        content.write("assets/ada.png", "one");
    }

    void startServer(DevServerOptions options = {}) {
        options.contentFolder = content.path();
        server = std::make_unique<DevServer>(options);
        std::string problem;
        auto port = server->start(0, &problem);
        ASSERT_TRUE(port) << problem;
        client = std::make_unique<httplib::Client>("127.0.0.1", *port);
        // Requests go out byte for byte, so escapes reach the server as written.
        client->set_url_encode(false);
    }

    json getJSON(const std::string& path, int expectedStatus = 200) {
        auto response = client->Get(path.c_str());
        if (!response) {
            ADD_FAILURE() << "no answer for " << path;
            return {};
        }
        EXPECT_EQ(response->status, expectedStatus) << path;
        EXPECT_EQ(response->get_header_value("Content-Type"), "application/json") << path;
        return json::parse(response->body, nullptr, false);
    }

    TemporaryContentFolder content;
    std::unique_ptr<DevServer> server;
    std::unique_ptr<httplib::Client> client;
};

} // namespace

TEST(DevServerSha256, KnownDigests) {
    EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST_F(DevServerTest, CreditsCarryTheirHashAndFollowEdits) {
    startServer();
    auto credits = getJSON("/credits/Tweak");
    ASSERT_TRUE(credits.is_object());
    EXPECT_EQ(credits["success"], true);
    EXPECT_EQ(credits["links"], json::parse(tweakCredits)["links"]);
    auto& logo = credits["credits"][0]["logo"];
    EXPECT_EQ(logo["2x"]["hash"], sha256Hex(std::string("\x89PNG\0two\xff", 10)));
    EXPECT_EQ(logo["default"]["hash"], sha256Hex("one")) << "the asset's own hash replaces a stale one";
    EXPECT_EQ(logo["3x"]["hash"], "kept") << "a variant without an asset keeps what it says";

    // The hash covers exactly what is served, less "success" and "hash", as compact sorted JSON.
    auto hash = credits["hash"].get<std::string>();
    auto hashed = credits;
    hashed.erase("success");
    hashed.erase("hash");
    EXPECT_EQ(hash, sha256Hex(hashed.dump()));
    EXPECT_EQ(getJSON("/credits/Tweak/hash"), json({{"hash", hash}}));

    content.write("credits/Tweak.json", R"({"credits": [], "links": []})");
    auto edited = getJSON("/credits/Tweak");
    EXPECT_NE(edited["hash"], hash);
    EXPECT_EQ(edited["hash"], sha256Hex(R"({"credits":[],"links":[]})"));
    EXPECT_EQ(getJSON("/credits/Tweak/hash")["hash"], edited["hash"]);

    // A picture edited on disk changes the credits that announce it.
    content.write("credits/Tweak.json", tweakCredits);
    content.write("assets/ada.png", "one, redrawn");
    auto redrawn = getJSON("/credits/Tweak");
    EXPECT_NE(redrawn["hash"], hash);
    EXPECT_EQ(redrawn["credits"][0]["logo"]["default"]["hash"], sha256Hex("one, redrawn"));
}

TEST_F(DevServerTest, AssetsCarryTheHashOfTheirBytes) {
    startServer();
    auto response = client->Get("/credits/asset/ada-2x.png");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->status, 200);
    EXPECT_EQ(response->body, std::string("\x89PNG\0two\xff", 10));
    EXPECT_EQ(response->get_header_value("X-Asset-Hash"), sha256Hex(response->body));
    EXPECT_EQ(response->get_header_value("Content-Type"), "image/png");

    content.write("assets/notes", "plain");
    response = client->Get("/credits/asset/notes");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->get_header_value("X-Asset-Hash"), sha256Hex("plain"));
    EXPECT_EQ(response->get_header_value("Content-Type"), "application/octet-stream");
}

TEST_F(DevServerTest, UnknownAndRefusedNamesAnswerFailure) {
    content.write("credits/Broken.json", R"(["not", "an", "object"])");
    content.write("secret.txt", "outside the assets");
    std::filesystem::create_symlink("../secret.txt", content.path() / "assets/escape.png");
    std::filesystem::create_symlink("/etc/hostname", content.path() / "assets/hostname");
    std::filesystem::create_symlink("ada.png", content.path() / "assets/alias.png");
    startServer();
    const json failure = {{"success", false}};

    EXPECT_EQ(getJSON("/credits/Unknown", 404), failure);
    EXPECT_EQ(getJSON("/credits/Unknown/hash", 404), failure);
    EXPECT_EQ(getJSON("/credits/Broken", 500), failure);
    EXPECT_EQ(getJSON("/credits/", 400), failure);
    EXPECT_EQ(getJSON("/credits/%2e%2e", 400), failure);
    EXPECT_EQ(getJSON("/credits/.hidden/hash", 400), failure);
    EXPECT_EQ(getJSON("/credits/..%2Fassets%2Fada/hash", 404), failure) << "no route for a deeper path";

    EXPECT_EQ(getJSON("/credits/asset/unknown.png", 404), failure);
    EXPECT_EQ(getJSON("/credits/asset/" + std::string(255, 'a'), 404), failure);
    EXPECT_EQ(getJSON("/credits/asset/escape.png", 404), failure) << "a link may not lead out of the folder";
    EXPECT_EQ(getJSON("/credits/asset/hostname", 404), failure);
    auto alias = client->Get("/credits/asset/alias.png");
    ASSERT_TRUE(alias);
    EXPECT_EQ(alias->status, 200) << "a link that stays among the assets is fine";
    EXPECT_EQ(alias->body, "one");
    for (const char* refused :
         {"/credits/asset/", "/credits/asset/../secret.txt", "/credits/asset/..%2Fsecret.txt",
          "/credits/asset/%2E%2E%2Fcredits%2FTweak.json", "/credits/asset/..",
          "/credits/asset/ada.png%00.txt", "/credits/asset/%2fetc%2fpasswd", "/credits/asset/a..png"}) {
        EXPECT_EQ(getJSON(refused, 400), failure) << refused;
    }
    EXPECT_EQ(getJSON("/credits/asset/" + std::string(256, 'a'), 400), failure);
    EXPECT_EQ(getJSON("/elsewhere", 404), failure);
}

TEST_F(DevServerTest, ManifestIsServedWithTheServerAddressFilledIn) {
    startServer();
    EXPECT_EQ(getJSON("/static/app/merrow/manifest.json", 404), json({{"success", false}}));

    content.write("merrow/manifest.json",
                  R"({"alert": {"body": "Hi", "rejection_title": "No"},
                      "header": {"foreground_images": {"profile": "{server}/credits/asset/ada.png"}}})");
    auto manifest = getJSON("/static/app/merrow/manifest.json");
    EXPECT_EQ(manifest["alert"]["body"], "Hi");
    auto profile = manifest["header"]["foreground_images"]["profile"].get<std::string>();
    EXPECT_EQ(profile, server->baseURL() + "/credits/asset/ada.png");
    EXPECT_EQ(profile, "http://127.0.0.1:" + std::to_string(server->port()) + "/credits/asset/ada.png");
}

TEST_F(DevServerTest, RequestLogHasOneLinePerAnsweredRequest) {
    auto log = content.path() / "requests.log";
    { std::ofstream(log) << "left over from an earlier run\n"; }
    DevServerOptions options;
    options.requestLog = log;
    startServer(options);
    ASSERT_TRUE(client->Get("/credits/Tweak"));
    ASSERT_TRUE(client->Get("/credits/Tweak/hash"));
    ASSERT_TRUE(client->Get("/credits/asset/%2e%2e%2fx"));
    ASSERT_TRUE(client->Get("/credits/asset/none.png"));
    // No waiting: each line is written before its answer goes out.
    std::istringstream lines(readAll(log));
    std::vector<json> entries;
    for (std::string line; std::getline(lines, line);) {
        entries.push_back(json::parse(line, nullptr, false));
    }
    std::vector<json> expected = {
        {{"method", "GET"}, {"path", "/credits/Tweak"}, {"status", 200}},
        {{"method", "GET"}, {"path", "/credits/Tweak/hash"}, {"status", 200}},
        {{"method", "GET"}, {"path", "/credits/asset/../x"}, {"status", 400}},
        {{"method", "GET"}, {"path", "/credits/asset/none.png"}, {"status", 404}},
    };
    EXPECT_EQ(entries, expected);
}

TEST_F(DevServerTest, StartFailsWithAReasonAndStopIsSafeToRepeat) {
    DevServer missing(optionsFor(content.path() / "absent"));
    std::string problem;
    EXPECT_FALSE(missing.start(0, &problem));
    EXPECT_NE(problem.find("absent"), std::string::npos) << problem;

    auto unwritableLogOptions = optionsFor(content.path());
    unwritableLogOptions.requestLog = content.path() / "no/such/folder/log";
    DevServer unwritableLog(unwritableLogOptions);
    EXPECT_FALSE(unwritableLog.start(0, &problem));

    startServer();
    DevServer sameAddress(optionsFor(content.path()));
    EXPECT_FALSE(sameAddress.start(server->port(), &problem));
    EXPECT_NE(problem.find(std::to_string(server->port())), std::string::npos) << problem;

    server->stop();
    server->stop();
    EXPECT_FALSE(client->Get("/credits/Tweak")) << "nothing answers after stop";
    auto port = server->start(0, &problem);
    ASSERT_TRUE(port) << problem;
    EXPECT_EQ(httplib::Client("127.0.0.1", *port).Get("/credits/Tweak")->status, 200);
}
