#include "tests/support/TemporaryDeviceRoot.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "platform/foundation/DeviceRoot.h"

TemporaryDeviceRoot::TemporaryDeviceRoot() {
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             ("corvale-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
    m_previousRoot = platform::DeviceRoot::root();
    platform::DeviceRoot::setRoot(m_path);
}

TemporaryDeviceRoot::~TemporaryDeviceRoot() {
    platform::DeviceRoot::setRoot(m_previousRoot);
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path TemporaryDeviceRoot::hostPath(std::string_view devicePath) const {
    return platform::DeviceRoot::resolve(devicePath);
}

void TemporaryDeviceRoot::writeFile(std::string_view devicePath, std::string_view contents) const {
    auto path = hostPath(devicePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

std::string TemporaryDeviceRoot::readFile(std::string_view devicePath) const {
    std::ifstream stream(hostPath(devicePath), std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    return contents.str();
}
