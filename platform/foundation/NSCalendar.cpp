#include "platform/foundation/NSCalendar.h"

#include <ctime>

std::shared_ptr<NSCalendar> NSCalendar::calendarWithIdentifier(std::string_view identifier) {
    if (identifier != NSCalendarIdentifierGregorian)
        return nullptr;
    return std::make_shared<NSCalendar>(std::string(identifier));
}

std::optional<long> NSCalendar::component(NSCalendarUnit unit, Date date) const {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(date);
    std::tm local{};
    // localtime_r does not call tzset itself; without it a changed TZ would go unnoticed.
    tzset();
    if (!localtime_r(&seconds, &local))
        return std::nullopt;
    switch (unit) {
    case NSCalendarUnit::Year:
        return 1900L + local.tm_year;
    case NSCalendarUnit::Month:
        return 1L + local.tm_mon;
    case NSCalendarUnit::Day:
        return local.tm_mday;
    case NSCalendarUnit::Hour:
        return local.tm_hour;
    case NSCalendarUnit::Minute:
        return local.tm_min;
    case NSCalendarUnit::Second:
        return local.tm_sec;
    }
    return std::nullopt;
}
