#include "tests/hosts/settings/SettingsHostScenario.h"

#include <cstdlib>
#include <unistd.h>

#include "platform/foundation/PropertyList.h"
#include "tests/support/ProcessRun.h"

std::filesystem::path SettingsHostScenario::s_installed;

void SettingsHostScenario::SetUpTestSuite() {
    s_installed =
        std::filesystem::temp_directory_path() / ("corvale-settings-installed-" + std::to_string(::getpid()));
    std::filesystem::remove_all(s_installed);
    ASSERT_TRUE(ProcessRun::installComponent(CORVALE_CMAKE_COMMAND, CORVALE_BINARY_DIR, "CorvaleSettings",
                                              s_installed));
}

void SettingsHostScenario::TearDownTestSuite() {
    std::error_code ignored;
    std::filesystem::remove_all(s_installed, ignored);
}

void SettingsHostScenario::SetUp() {
    ASSERT_TRUE(std::filesystem::exists(s_installed / "Library"));
    std::filesystem::copy(s_installed, m_root.path(), std::filesystem::copy_options::recursive);
}

void SettingsHostScenario::writeList(const std::string& name, const Value& list) const {
    ASSERT_TRUE(platform::PropertyList::writeFile(std::string(bundlePath) + "/" + name + ".plist", list));
}

SettingsHostRun SettingsHostScenario::runHost(std::vector<std::string> arguments,
                                              std::chrono::milliseconds limit) const {
    arguments.insert(arguments.begin(), {"--device-root", m_root.path().string()});
    auto scratch = m_root.path() / "tmp";
    std::filesystem::create_directories(scratch);
    return SettingsHostRun::run(arguments, scratch, limit);
}

Value SettingsHostScenario::readDomain(const std::string& domain) const {
    auto value = platform::PropertyList::readFile("/var/mobile/Library/Preferences/" + domain + ".plist");
    return value ? *value : Value();
}

Value SettingsHostScenario::list(std::vector<Value> rows,
                                 std::initializer_list<std::pair<const std::string, Value>> topLevel) {
    auto list = Value::dictionary(topLevel);
    list.set("items", Value(Value::Array(std::move(rows))));
    return list;
}

namespace dumpline {

std::vector<nlohmann::json> rows(const nlohmann::json& dump) {
    std::vector<nlohmann::json> rows;
    for (const auto& section : dump.at("sections"))
        for (const auto& row : section.at("rows"))
            rows.push_back(row);
    return rows;
}

std::vector<std::string> labels(const nlohmann::json& dump) {
    std::vector<std::string> labels;
    for (const auto& row : rows(dump))
        labels.push_back(row.at("label").get<std::string>());
    return labels;
}

nlohmann::json rowLabelled(const nlohmann::json& dump, const std::string& label) {
    for (const auto& row : rows(dump))
        if (row.at("label") == label)
            return row;
    return nullptr;
}

std::vector<std::string> tapAtCentreOf(const nlohmann::json& frame) {
    double x = frame[0].get<double>() + frame[2].get<double>() / 2;
    double y = frame[1].get<double>() + frame[3].get<double>() / 2;
    return {"tap-at", std::to_string(x), std::to_string(y)};
}

} // namespace dumpline
