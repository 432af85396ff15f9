#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "tests/hosts/settings/SettingsHostRun.h"
#include "platform/foundation/Value.h"
#include "tests/support/TemporaryDeviceRoot.h"

// A device with the CorvaleSettings component installed (once per test program, copied into each
// test's own device root), on which a test runs the real Settings host. Tests may replace the
// pane's lists with their own.
class SettingsHostScenario : public testing::Test {
protected:
    static constexpr const char* bundlePath = "/Library/PreferenceBundles/CorvaleSettings.bundle";
    static constexpr const char* defaultsDomain = "dev.test.corvale";

    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Replaces (or adds) "<name>.plist" in the pane's bundle.
    void writeList(const std::string& name, const Value& list) const;
    // The host with --device-root and the given arguments; killed (exit status -1) past `limit`.
    SettingsHostRun runHost(std::vector<std::string> arguments,
                            std::chrono::milliseconds limit = std::chrono::minutes(10)) const;
    // A device path's preference domain file, read back; null when missing.
    Value readDomain(const std::string& domain) const;

    static Value row(std::initializer_list<std::pair<const std::string, Value>> properties) {
        return Value::dictionary(properties);
    }
    static Value list(std::vector<Value> rows,
                      std::initializer_list<std::pair<const std::string, Value>> topLevel = {});

    TemporaryDeviceRoot m_root;

private:
    static std::filesystem::path s_installed;
};

// Reading a dump line.
namespace dumpline {
// Every row of every section, in order.
std::vector<nlohmann::json> rows(const nlohmann::json& dump);
std::vector<std::string> labels(const nlohmann::json& dump);
// The row with this label; null when there is none.
nlohmann::json rowLabelled(const nlohmann::json& dump, const std::string& label);
// The steps "tap-at X Y" at the centre of a dumped [x, y, w, h] frame.
std::vector<std::string> tapAtCentreOf(const nlohmann::json& frame);
} // namespace dumpline
