#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/common/ArgumentReader.h"
#include "hosts/common/RejectedUsage.h"
#include "hosts/common/ValueJSON.h"

namespace {

using corvale::hosts::ArgumentReader;
using corvale::hosts::ValueJSON;

TEST(ValueJSON, DataIsBase64WithPadding) {
    EXPECT_EQ(ValueJSON::from(Value(Value::Data{})), "");
    EXPECT_EQ(ValueJSON::from(Value(Value::Data{'f'})), "Zg==");
    EXPECT_EQ(ValueJSON::from(Value(Value::Data{'f', 'o'})), "Zm8=");
    EXPECT_EQ(ValueJSON::from(Value(Value::Data{'f', 'o', 'o'})), "Zm9v");
    EXPECT_EQ(ValueJSON::from(Value(Value::Data{'f', 'o', 'o', 'b', 'a', 'r'})), "Zm9vYmFy");
    EXPECT_EQ(ValueJSON::from(Value(Value::Data{0xFF, 0xFE, 0x00})), "//4A") << "every bit of a byte counts";
}

TEST(ValueJSON, DatesAreISO8601InUTC) {
    EXPECT_EQ(ValueJSON::from(Value(Value::Date{0})), "2001-01-01T00:00:00Z");
    EXPECT_EQ(ValueJSON::from(Value(Value::Date{-1})), "2000-12-31T23:59:59Z") << "before the reference date";
    // 2024-02-29T12:34:56.250Z: a leap day, with a fraction of a second.
    EXPECT_EQ(ValueJSON::from(Value(Value::Date{730902896.25})), "2024-02-29T12:34:56.250Z");
    EXPECT_EQ(ValueJSON::from(Value(Value::Date{-978307200})), "1970-01-01T00:00:00Z");
}

TEST(ValueJSON, OtherValuesKeepTheirJSONTypes) {
    const Value value = Value::dictionary({{"on", true},
                                           {"count", 3},
                                           {"ratio", 0.5},
                                           {"name", "x"},
                                           {"nothing", Value()},
                                           {"list", Value::array({1, "two"})}});
    EXPECT_EQ(ValueJSON::from(value).dump(),
              R"({"count":3,"list":[1,"two"],"name":"x","nothing":null,"on":true,"ratio":0.5})");
    EXPECT_TRUE(ValueJSON::from(Value(std::numeric_limits<double>::infinity())).is_null());
}

TEST(ArgumentReader, OptionValuesFollowOrAreAttached) {
    const std::vector<std::string_view> arguments{"--os", "13.0", "--appearance=dark", "dump", "--empty="};
    ArgumentReader reader(arguments);
    EXPECT_EQ(reader.next(), "--os");
    EXPECT_FALSE(reader.hasAttachedValue());
    EXPECT_EQ(reader.value(), "13.0");
    EXPECT_EQ(reader.next(), "--appearance");
    EXPECT_TRUE(reader.hasAttachedValue());
    EXPECT_EQ(reader.value(), "dark");
    EXPECT_EQ(reader.position(), 3u);
    EXPECT_EQ(reader.next(), "dump");
    EXPECT_EQ(reader.next(), "--empty");
    EXPECT_EQ(reader.value(), "") << "an attached empty value is a value";
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.value(), std::nullopt);
}

TEST(ArgumentReader, OnlyOptionsSplitAtEquals) {
    const std::vector<std::string_view> arguments{"set", "a=b", "-x=1"};
    ArgumentReader reader(arguments);
    EXPECT_EQ(reader.next(), "set");
    EXPECT_EQ(reader.value(), "a=b");
    EXPECT_EQ(reader.next(), "-x=1");
    EXPECT_FALSE(reader.hasAttachedValue());
}

struct SampleCommandLine {
    enum class Action { run, reportUsageError };
    Action action = Action::run;
    std::string usageError;
    int other = 7;
};

TEST(RejectedUsage, CarriesTheMessageAndOtherwiseDefaults) {
    auto rejected = corvale::hosts::rejectedUsage<SampleCommandLine>("no steps given");
    EXPECT_EQ(rejected.action, SampleCommandLine::Action::reportUsageError);
    EXPECT_EQ(rejected.usageError, "no steps given");
    EXPECT_EQ(rejected.other, 7);
}

} // namespace
