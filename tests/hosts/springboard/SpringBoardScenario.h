#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "hosts/devserver/DevServer.h"
#include "platform/foundation/Value.h"
#include "tests/support/TemporaryDeviceRoot.h"

// One run of merrow-springboard to its end.
struct SpringBoardRun {
    int exitStatus = -1;
    std::vector<nlohmann::json> dumps; // each JSON output line parsed
    std::string text;                  // the other output lines (help)
    std::string errors;
};

// A device with libmerrow installed (once per test program, copied into each test's own root) and a
// dev server on 127.0.0.1 serving this test's manifest, on which a test runs the real SpringBoard host.
class SpringBoardScenario : public testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Serves this text as the manifest (the example manifest by default; "{server}" is replaced).
    void serveManifest(const std::string& text) const;
    static std::string exampleManifest();
    // How many times the manifest was asked for so far.
    int manifestRequests() const;
    // The host with --device-root, --seed and these arguments; killed (exit status -1) past `limit`.
    SpringBoardRun runHost(std::vector<std::string> arguments,
                           std::chrono::milliseconds limit = std::chrono::minutes(10)) const;
    // Stores a value in the library's preference domain, as an earlier SpringBoard would have.
    void storePromptState(const std::string& key, const Value& value) const;

    TemporaryDeviceRoot m_root;
    std::filesystem::path m_content;
    std::unique_ptr<corvale::devserver::DevServer> m_server;

private:
    static std::filesystem::path s_installed;
};
