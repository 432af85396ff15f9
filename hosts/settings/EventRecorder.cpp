#include "hosts/settings/EventRecorder.h"

#include <utility>

#include "platform/corefoundation/DarwinNotificationLog.h"
#include "platform/uikit/DeviceEventLog.h"

namespace corvale::settingshost {

void EventRecorder::collect() {
    for (auto& name : platform::DarwinNotificationLog::shared().takePosted())
        m_pending.push_back(Value::dictionary({{"notification", std::move(name)}}));
    for (auto& event : platform::DeviceEventLog::shared().take())
        m_pending.push_back(std::move(event));
}

std::vector<Value> EventRecorder::take() {
    collect();
    return std::exchange(m_pending, {});
}

} // namespace corvale::settingshost
