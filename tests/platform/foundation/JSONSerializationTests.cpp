#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/foundation/NSJSONSerialization.h"

namespace {

std::string nestedArrays(std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
}

} // namespace

TEST(NSJSONSerialization, ReadsEachJSONKindAsTheMatchingValue) {
    auto value = NSJSONSerialization::JSONObjectWithData(
        R"({"int": 42, "negative": -7, "max": 9223372036854775807, "min": -9223372036854775808,
            "unsignedPastSigned": 18446744073709551615, "real": 1.5, "exponent": 1e3, "yes": true,
            "no": false, "nothing": null, "text": "\u00e9\n\u0000x", "list": [1, [2, {}]],
            "dup": 1, "dup": 2})");
    ASSERT_TRUE(value);
    EXPECT_TRUE((*value)["int"].isInteger());
    EXPECT_EQ((*value)["negative"].integerValue(), -7);
    EXPECT_EQ((*value)["max"].integerValue(), std::numeric_limits<std::int64_t>::max());
    EXPECT_TRUE((*value)["min"].isInteger());
    EXPECT_EQ((*value)["min"].integerValue(), std::numeric_limits<std::int64_t>::min());
    EXPECT_TRUE((*value)["unsignedPastSigned"].isReal());
    EXPECT_EQ((*value)["unsignedPastSigned"].doubleValue(), 18446744073709551615.0);
    EXPECT_TRUE((*value)["real"].isReal());
    EXPECT_TRUE((*value)["exponent"].isReal());
    EXPECT_TRUE((*value)["yes"].isBool());
    EXPECT_TRUE((*value)["nothing"].isNull());
    EXPECT_TRUE(value->contains("nothing"));
    EXPECT_EQ((*value)["text"].asString(), std::string("\xc3\xa9\n\0x", 5));
    EXPECT_EQ((*value)["list"], Value::array({1, Value::array({2, Value::dictionary()})}));
    EXPECT_EQ((*value)["dup"].integerValue(), 2);

    std::string bytes = "[\"bytes\"]";
    EXPECT_EQ(NSJSONSerialization::JSONObjectWithData(std::vector<std::uint8_t>(bytes.begin(), bytes.end())),
              Value::array({"bytes"}));
    EXPECT_EQ(NSJSONSerialization::JSONObjectWithData("  \"fragment\" "), Value("fragment"));
}

TEST(NSJSONSerialization, ParseErrorsComeBackAsValuesThatSayWhere) {
    for (const char* broken : {"", "{", "[1,]", "{\"a\":}", "tru", "{} extra", "\"\xff\"", "[1] [2]",
                               "{'a':1}", "[\"unterminated]", "01", "NaN", "/* comment */ 1"}) {
        NSErrorPtr error;
        EXPECT_FALSE(NSJSONSerialization::JSONObjectWithData(broken, &error)) << broken;
        ASSERT_TRUE(error) << broken;
        EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(error->code(), NSJSONSerialization::readCorruptError);
        EXPECT_NE(error->localizedDescription().find("parse error"), std::string::npos)
            << error->localizedDescription();
    }
    NSErrorPtr error;
    NSJSONSerialization::JSONObjectWithData("{\n  \"a\": [1, 2,, 3]\n}", &error);
    ASSERT_TRUE(error);
    EXPECT_NE(error->localizedDescription().find("line 2, column 14"), std::string::npos)
        << error->localizedDescription();
}

TEST(NSJSONSerialization, NestingIsLimited) {
    EXPECT_TRUE(NSJSONSerialization::JSONObjectWithData(nestedArrays(NSJSONSerialization::maximumDepth)));
    NSErrorPtr error;
    EXPECT_FALSE(NSJSONSerialization::JSONObjectWithData(nestedArrays(100000), &error));
    ASSERT_TRUE(error);
    EXPECT_NE(error->localizedDescription().find("nested"), std::string::npos);

    Value deep = Value::array();
    for (std::size_t level = 0; level < NSJSONSerialization::maximumDepth; ++level)
        deep = Value::array({deep});
    EXPECT_FALSE(NSJSONSerialization::isValidJSONObject(deep));
    EXPECT_TRUE(NSJSONSerialization::isValidJSONObject(deep[0]));
}

TEST(NSJSONSerialization, WritesCompactJSONThatReadsBackEqual) {
    Value value = Value::dictionary({
        {"list", Value::array({1, 2.5, true, Value(), "q\"\\\n\x01/"})},
        {"empty", Value::dictionary()},
        {"é", -3},
    });
    NSErrorPtr error;
    auto text = NSJSONSerialization::dataWithJSONObject(value, &error);
    ASSERT_TRUE(text);
    EXPECT_FALSE(error);
    EXPECT_EQ(*text, "{\"empty\":{},\"list\":[1,2.5,true,null,\"q\\\"\\\\\\n\\u0001/\"],\"é\":-3}");
    EXPECT_EQ(NSJSONSerialization::JSONObjectWithData(*text), value);

    Value reals = Value::array({0.1, 1e-300, 123456789.123456789, -0.0, 3.0, 1.7976931348623157e308});
    auto read = NSJSONSerialization::JSONObjectWithData(*NSJSONSerialization::dataWithJSONObject(reals));
    ASSERT_TRUE(read);
    for (std::size_t index = 0; index < reals.count(); ++index) {
        EXPECT_TRUE((*read)[index].isReal()) << index;
        EXPECT_EQ((*read)[index].doubleValue(), reals[index].doubleValue()) << index;
    }
}

TEST(NSJSONSerialization, ValuesWithoutAJSONFormAreReportedNotInvented) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<Value> invalid{
        Value::array({Value(Value::Data{1})}),
        Value::dictionary({{"when", Value(Value::Date{1})}}),
        Value::array({nan}),
        Value::array({Value::array({-infinity})}),
        Value("top-level string"),
        Value(5),
        Value(),
    };
    for (const auto& value : invalid) {
        EXPECT_FALSE(NSJSONSerialization::isValidJSONObject(value)) << value.description();
        NSErrorPtr error;
        EXPECT_FALSE(NSJSONSerialization::dataWithJSONObject(value, &error)) << value.description();
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code(), NSJSONSerialization::writeInvalidError);
        EXPECT_FALSE(error->localizedDescription().empty());
    }
    EXPECT_TRUE(NSJSONSerialization::isValidJSONObject(Value::array({Value(), "", 0})));
}

TEST(NSJSONSerialization, InvalidUTF8IsReplacedOnOutput) {
    auto text = NSJSONSerialization::dataWithJSONObject(Value::array({"a\xff\xfe"
                                                                      "b"}));
    ASSERT_TRUE(text);
    auto read = NSJSONSerialization::JSONObjectWithData(*text);
    ASSERT_TRUE(read);
    EXPECT_EQ((*read)[0].asString(), "a\xef\xbf\xbd\xef\xbf\xbd"
                                     "b");
}
