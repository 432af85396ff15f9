#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include <gtest/gtest.h>

#include "platform/foundation/NSCalendar.h"

namespace {

// Sets TZ for one test and puts the previous zone back.
class TimeZoneOverride {
public:
    explicit TimeZoneOverride(const char* zone) {
        if (const char* previous = std::getenv("TZ"))
            m_previous = previous;
        m_hadPrevious = std::getenv("TZ") != nullptr;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZoneOverride() {
        if (m_hadPrevious)
            setenv("TZ", m_previous.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::string m_previous;
    bool m_hadPrevious = false;
};

NSCalendar::Date utc(int year, int month, int day, int hour, int minute) {
    using namespace std::chrono;
    return sys_days{std::chrono::year{year} / month / day} + hours{hour} + minutes{minute};
}

} // namespace

TEST(NSCalendarTests, OnlyTheGregorianCalendarExists) {
    ASSERT_NE(NSCalendar::calendarWithIdentifier(NSCalendarIdentifierGregorian), nullptr);
    EXPECT_EQ(NSCalendar::calendarWithIdentifier("hebrew"), nullptr);
    EXPECT_EQ(NSCalendar::calendarWithIdentifier(""), nullptr);
}

TEST(NSCalendarTests, TheYearFollowsTheDevicesTimeZoneAcrossNewYear) {
    const auto calendar = NSCalendar::calendarWithIdentifier(NSCalendarIdentifierGregorian);
    const auto lateOnNewYearsEveUTC = utc(2025, 12, 31, 23, 30);
    {
        TimeZoneOverride zone("UTC0");
        EXPECT_EQ(calendar->component(NSCalendarUnit::Year, lateOnNewYearsEveUTC), 2025);
        EXPECT_EQ(calendar->component(NSCalendarUnit::Month, lateOnNewYearsEveUTC), 12);
    }
    {
        // Nine hours east of Greenwich it is already the next year.
        TimeZoneOverride zone("JST-9");
        EXPECT_EQ(calendar->component(NSCalendarUnit::Year, lateOnNewYearsEveUTC), 2026);
        EXPECT_EQ(calendar->component(NSCalendarUnit::Month, lateOnNewYearsEveUTC), 1);
        EXPECT_EQ(calendar->component(NSCalendarUnit::Day, lateOnNewYearsEveUTC), 1);
        EXPECT_EQ(calendar->component(NSCalendarUnit::Hour, lateOnNewYearsEveUTC), 8);
    }
    {
        // And five hours west of it the early hours of New Year's Day are still the old year.
        TimeZoneOverride zone("EST5");
        EXPECT_EQ(calendar->component(NSCalendarUnit::Year, utc(2026, 1, 1, 3, 0)), 2025);
    }
}
