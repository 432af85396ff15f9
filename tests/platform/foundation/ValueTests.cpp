#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/foundation/Value.h"

namespace {

constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();

} // namespace

TEST(Value, StringBoolValueLooksPastBlanksSignAndLeadingZeros) {
    for (const char* truthy :
         {"  +0007", "-0y", "Yes", "yes", "TRUE", "t", "\t\n5", "0001", "9", "1.0", "+1"})
        EXPECT_TRUE(Value(truthy).boolValue()) << '"' << truthy << '"';
    for (const char* falsy : {"no", "", " 0", "0x1", "000", "0.5", "false", "+-1", "  ", "N", "-", "a1",
                              "\x01"
                              "1"})
        EXPECT_FALSE(Value(falsy).boolValue()) << '"' << falsy << '"';
}

TEST(Value, StringDoubleValueReadsTheLongestDecimalPrefix) {
    EXPECT_EQ(Value("  -1.5e3xyz").doubleValue(), -1500.0);
    EXPECT_EQ(Value("1e").doubleValue(), 1.0);
    EXPECT_EQ(Value("1e+").doubleValue(), 1.0);
    EXPECT_EQ(Value(".5").doubleValue(), 0.5);
    EXPECT_EQ(Value("  +.5e-1").doubleValue(), 0.05);
    EXPECT_EQ(Value("7.").doubleValue(), 7.0);
    // Only decimal text: no hex, infinities or NaN, which strtod alone would accept.
    for (const char* zero : {".", "0x10", "inf", "-infinity", "nan", "NAN", "", "+", "-.", "e5", "abc"})
        EXPECT_EQ(Value(zero).doubleValue(), 0.0) << '"' << zero << '"';
    EXPECT_EQ(Value("2.5").floatValue(), 2.5f);
}

TEST(Value, StringIntegerValueSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(Value("  42abc").integerValue(), 42);
    EXPECT_EQ(Value("-17").integerValue(), -17);
    EXPECT_EQ(Value("4.9").integerValue(), 4);
    EXPECT_EQ(Value("+-3").integerValue(), 0);
    EXPECT_EQ(Value("9223372036854775807").integerValue(), int64Max);
    EXPECT_EQ(Value("9223372036854775808").integerValue(), int64Max);
    EXPECT_EQ(Value("99999999999999999999999").integerValue(), int64Max);
    EXPECT_EQ(Value("-9223372036854775808").integerValue(), int64Min);
    EXPECT_EQ(Value("-9223372036854775809").integerValue(), int64Min);
    EXPECT_EQ(Value("5000000000").intValue(), std::numeric_limits<int>::max());
    EXPECT_EQ(Value("-5000000000").intValue(), std::numeric_limits<int>::min());
}

TEST(Value, RealConversionsStayDefinedAtTheEdges) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Value(1e300).integerValue(), int64Max);
    EXPECT_EQ(Value(-1e300).integerValue(), int64Min);
    EXPECT_EQ(Value(infinity).integerValue(), int64Max);
    EXPECT_EQ(Value(nan).integerValue(), 0);
    // 2^63 is the first double past the signed range; converting it directly would be undefined.
    EXPECT_EQ(Value(9223372036854775808.0).integerValue(), int64Max);
    EXPECT_EQ(Value(-9223372036854775808.0).integerValue(), int64Min);
    EXPECT_EQ(Value(-2.9).integerValue(), -2);
    EXPECT_EQ(Value(1e300).intValue(), std::numeric_limits<int>::max());
    EXPECT_EQ(Value(1e300).floatValue(), std::numeric_limits<float>::infinity());
    EXPECT_EQ(Value(-1e300).floatValue(), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(Value(nan).floatValue()));
    EXPECT_EQ(Value(int64Max).doubleValue(), 9223372036854775807.0);
}

TEST(Value, StringValueOfNumbersPrintsTheWayNSNumberDoes) {
    EXPECT_EQ(Value(3.0).stringValue(), "3");
    EXPECT_EQ(Value(0.1).stringValue(), "0.1");
    EXPECT_EQ(Value(-2.5).stringValue(), "-2.5");
    EXPECT_EQ(Value(1.0 / 3.0).stringValue(), "0.3333333333333333");
    EXPECT_EQ(Value(1e20).stringValue(), "1e+20");
    EXPECT_EQ(Value(true).stringValue(), "1");
    EXPECT_EQ(Value(false).stringValue(), "0");
    EXPECT_EQ(Value(int64Min).stringValue(), "-9223372036854775808");
    EXPECT_EQ(Value(std::numeric_limits<double>::quiet_NaN()).stringValue(), "nan");
    EXPECT_EQ(Value().stringValue(), "");
    EXPECT_EQ(Value::array({1}).stringValue(), "");
    // Reading the printed form gives the number back.
    for (double real : {0.1, 1e-300, 123456789.123456789, -5e15, 2.5e-7})
        EXPECT_EQ(Value(Value(real).stringValue()).doubleValue(), real);
}

TEST(Value, NumbersCompareByValueWhateverTheirKind) {
    EXPECT_EQ(Value(1), Value(1.0));
    EXPECT_EQ(Value(1.0), Value(true));
    EXPECT_EQ(Value(true), Value(1));
    EXPECT_EQ(Value(0), Value(false));
    EXPECT_NE(Value(2), Value(true));
    EXPECT_NE(Value(1), Value(1.5));
    EXPECT_NE(Value(1), Value("1"));
    EXPECT_NE(Value(), Value(0));
    EXPECT_NE(Value(int64Max), Value(int64Max - 1));
    EXPECT_NE(Value(std::numeric_limits<double>::quiet_NaN()),
              Value(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(Value::array({1, Value::dictionary({{"a", true}})}),
              Value::array({1.0, Value::dictionary({{"a", 1}})}));
    EXPECT_NE(Value::array({1}), Value::array({1, 1}));
    EXPECT_NE(Value::dictionary({{"a", 1}}), Value::dictionary({{"b", 1}}));
    EXPECT_EQ(Value(Value::Date{5}), Value(Value::Date{5}));
    EXPECT_NE(Value(Value::Date{5}), Value(5));
    EXPECT_EQ(Value(Value::Data{1, 2}), Value(Value::Data{1, 2}));
}

TEST(Value, WritesToAValueOfAnotherTypeChangeNothing) {
    Value number(4);
    EXPECT_EQ(number.mutableArray(), nullptr);
    EXPECT_EQ(number.mutableDictionary(), nullptr);
    number.append(1);
    number.set("key", 1);
    EXPECT_EQ(number, Value(4));

    Value list = Value::array({1});
    EXPECT_EQ(list.mutableDictionary(), nullptr);
    list.set("key", 2);
    EXPECT_EQ(list, Value::array({1}));

    Value nothing;
    ASSERT_NE(nothing.mutableArray(), nullptr) << "a null value becomes the collection written into";
    nothing.mutableArray()->push_back(Value("kept"));
    EXPECT_EQ(nothing, Value::array({"kept"}));
}

TEST(Value, WritingToACopyLeavesTheOriginalAlone) {
    Value original = Value::dictionary({{"inner", Value::array({1, 2})}, {"name", "a"}});
    Value copy = original;
    copy.set("name", "b");
    (*copy.mutableDictionary())["inner"].append(3);
    copy.remove("missing");
    EXPECT_EQ(original["name"].asString(), "a");
    EXPECT_EQ(original["inner"].count(), 2u);
    EXPECT_EQ(copy["name"].asString(), "b");
    EXPECT_EQ(copy["inner"].count(), 3u);

    Value list = Value::array({"x"});
    Value listCopy = list;
    (*listCopy.mutableArray())[0] = "y";
    EXPECT_EQ(list[0].asString(), "x");
    EXPECT_EQ(listCopy[0].asString(), "y");

    // Removing from a copy detaches it too.
    Value removed = original;
    removed.remove("name");
    EXPECT_TRUE(original.contains("name"));
    EXPECT_FALSE(removed.contains("name"));
}

TEST(Value, CollectionAccessOnTheWrongTypeFindsNothing) {
    Value text("text");
    text.set("key", 1);
    text.append(2);
    EXPECT_EQ(text.asString(), "text");
    EXPECT_TRUE(text["key"].isNull());
    EXPECT_TRUE(text[0].isNull());
    EXPECT_EQ(text.count(), 0u);
    EXPECT_TRUE(text.asArray().empty());

    Value list = Value::array({1});
    EXPECT_TRUE(list[1].isNull());
    EXPECT_TRUE(list["0"].isNull());

    Value fresh;
    fresh.set("a", 1);
    EXPECT_TRUE(fresh.isDictionary());
    Value freshList;
    freshList.append("x");
    EXPECT_TRUE(freshList.isArray());
    EXPECT_EQ(freshList.count(), 1u);
}

TEST(Value, DescriptionEscapesStringsAndShowsData) {
    Value value = Value::dictionary(
        {{"k\"", Value::array({Value("a\n\x01"), Value(Value::Data{0x0f, 0xa0}), Value()})}});
    EXPECT_EQ(value.description(), "{\"k\\\"\":[\"a\\n\\u0001\",<0fa0>,null]}");
}
