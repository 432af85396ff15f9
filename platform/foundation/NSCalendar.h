#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/NSObject.h"

inline constexpr std::string_view NSCalendarIdentifierGregorian = "gregorian";

enum class NSCalendarUnit { Year, Month, Day, Hour, Minute, Second };

// A calendar in the device's time zone (the process's local zone, which TZ selects). Only the
// Gregorian calendar exists here.
class NSCalendar : public NSObject {
public:
    using Date = std::chrono::system_clock::time_point;

    // nil for an identifier other than NSCalendarIdentifierGregorian.
    static std::shared_ptr<NSCalendar> calendarWithIdentifier(std::string_view identifier);

    explicit NSCalendar(std::string identifier) : m_identifier(std::move(identifier)) {}

    // The unit's value for the date as a clock on the device shows it; nullopt when the date lies
    // outside what the system's time conversion handles.
    std::optional<long> component(NSCalendarUnit unit, Date date) const;

private:
    std::string m_identifier;
};

using NSCalendarPtr = std::shared_ptr<NSCalendar>;
