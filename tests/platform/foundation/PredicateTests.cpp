#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/NSPredicate.h"

namespace {

Value version(int major, int minor, int patch = 0) {
    return Value::dictionary({{"major", major}, {"minor", minor}, {"patch", patch}});
}

// Parses `format` (failing the test if it does not parse) and evaluates it against `object`.
bool holds(const std::string& format, const Value& object) {
    NSErrorPtr error;
    auto predicate = NSPredicate::predicateWithFormat(format, &error);
    EXPECT_TRUE(predicate) << format << ": " << (error ? error->localizedDescription() : "");
    return predicate && predicate->evaluateWithObject(object);
}

struct Case {
    std::string format;
    bool expected;
};

void expectCases(const std::vector<Case>& cases, const Value& object) {
    for (const auto& [format, expected] : cases)
        EXPECT_EQ(holds(format, object), expected) << format << " against " << object.description();
}

} // namespace

TEST(NSPredicate, ComparisonOperatorsInEverySpelling) {
    expectCases({{"major == 13", true}, {"major == 12", false}, {"major = 13", true},  {"major = 14", false},
                 {"major != 12", true}, {"major != 13", false}, {"major <> 12", true}, {"major <> 13", false},
                 {"major < 14", true},  {"major < 13", false},  {"major <= 13", true}, {"major <= 12", false},
                 {"major =< 13", true}, {"major =< 12", false}, {"major > 12", true},  {"major > 13", false},
                 {"major >= 13", true}, {"major >= 14", false}, {"major => 13", true}, {"major => 14", false},
                 {"major>=13", true},   {"14 > major", true},   {"13 == 13", true},    {"1 == 2", false}},
                version(13, 4, 1));
}

TEST(NSPredicate, NumbersCompareByValueWhateverTheirStorage) {
    Value object = Value::dictionary({{"major", 13}, {"scale", 2.5}, {"flag", true}, {"negative", -3}});
    expectCases({{"major == 13.0", true},
                 {"major < 13.5", true},
                 {"scale > 2", true},
                 {"scale < 3", true},
                 {"scale == 2.5", true},
                 {"negative == -3", true},
                 {"negative < -2", true},
                 {"major == +13", true},
                 {"major < 1e3", true},
                 {"major > 1.2E1", true},
                 {"flag == YES", true},
                 {"flag == 1", true},
                 {"major < 99999999999999999999999", true},
                 {"major > -99999999999999999999999", true},
                 {"9223372036854775807 > 9223372036854775806", true}},
                object);
}

TEST(NSPredicate, IntegersInHexadecimalOctalAndBinary) {
    expectCases({{"major >= 0x0D", true},
                 {"major == 0xd", true},
                 {"major == 0XD", true},
                 {"major > 0x0E", false},
                 {"major == 0o15", true},
                 {"major == 0o16", false},
                 {"major == 0b1101", true},
                 {"major == 0B1100", false},
                 {"-0x0D < 0", true},
                 {"+0b1 == 1", true},
                 {"0x7fffffffffffffff == 9223372036854775807", true},
                 {"-0x8000000000000000 < -9223372036854775807", true},
                 {"major IN {0xC, 0o15}", true},
                 {"major BETWEEN {0b1100, 0xE}", true}},
                version(13, 4, 1));
}

TEST(NSPredicate, StringsCompareWithStringsOnly) {
    Value object = Value::dictionary({{"name", "beta"}, {"major", 13}, {"quote", "it's \"x\""}});
    expectCases({{"name == 'beta'", true},
                 {"name == \"beta\"", true},
                 {"name < 'gamma'", true},
                 {"name > 'Beta'", true}, // byte-wise: lower case sorts after upper case
                 {"name >= 'beta'", true},
                 {"name != 'BETA'", true},
                 {R"(quote == 'it\'s "x"')", true},
                 {R"(quote == "it's \"x\"")", true},
                 {"major == '13'", false},
                 {"major != '13'", true},
                 {"major < 'z'", false},
                 {"major > ''", false},
                 {"name > 0", false},
                 {"name == 0", false}},
                object);
}

TEST(NSPredicate, MissingKeyPathsAreNilAndOrderNothing) {
    Value object =
        Value::dictionary({{"major", 13}, {"device", Value::dictionary({{"os", version(14, 2)}})}});
    expectCases({{"build == 5", false},
                 {"build != 5", true},
                 {"build < 5", false},
                 {"build <= 5", false},
                 {"build > 5", false},
                 {"build >= 5", false},
                 {"5 > build", false},
                 {"build == nil", true},
                 {"build == NULL", true},
                 {"major == nil", false},
                 {"major != nil", true},
                 {"build BETWEEN {1, 20}", false},
                 {"build IN {1, 2}", false},
                 {"NOT build > 5", true},
                 {"device.os.major >= 14", true},
                 {"device.os.minor == 2", true},
                 {"device.os.build == nil", true},
                 {"major.minor == nil", true},
                 {"device.os == nil", false}},
                object);
    EXPECT_FALSE(holds("major >= 0", Value()));
    EXPECT_FALSE(holds("major >= 0", Value::array({13})));
}

TEST(NSPredicate, BetweenIsInclusiveAndInTestsMembership) {
    Value object = Value::dictionary({{"major", 13}, {"name", "beta"}, {"allowed", Value::array({12, 13})}});
    expectCases({{"major BETWEEN {12, 14}", true},
                 {"major BETWEEN {13, 14}", true},
                 {"major BETWEEN {11, 13}", true},
                 {"major BETWEEN {13.5, 14}", false},
                 {"major BETWEEN {10, 12}", false},
                 {"major BETWEEN {14, 12}", false},
                 {"major IN {11, 12, 13}", true},
                 {"major IN {13.0}", true},
                 {"major IN {11, 12}", false},
                 {"major IN {}", false},
                 {"major IN {'13'}", false},
                 {"name IN {'alpha', 'beta'}", true},
                 {"major IN allowed", true},
                 {"14 IN allowed", false},
                 {"major IN name", false},
                 {"'et' IN name", true}},
                object);
}

TEST(NSPredicate, NotBindsTighterThanAndTighterThanOr) {
    struct Grouping {
        std::string format;
        std::function<bool(bool, bool, bool)> meaning;
    };
    // The eight rows of a, b and c tell the intended grouping apart from the other readings of the same
    // words, so a wrong precedence shows up in at least one row.
    const std::vector<Grouping> groupings{
        {"NOT a == 1 AND b == 1 OR c == 1", [](bool a, bool b, bool c) { return ((!a) && b) || c; }},
        {"!a == 1 && b == 1 || c == 1", [](bool a, bool b, bool c) { return ((!a) && b) || c; }},
        {"a == 1 OR b == 1 AND c == 1", [](bool a, bool b, bool c) { return a || (b && c); }},
        {"a == 1 AND b == 1 OR c == 1", [](bool a, bool b, bool c) { return (a && b) || c; }},
        {"a == 1 OR NOT b == 1 AND c == 1", [](bool a, bool b, bool c) { return a || ((!b) && c); }},
        {"(a == 1 OR b == 1) AND c == 1", [](bool a, bool b, bool c) { return (a || b) && c; }},
        {"NOT (a == 1 OR b == 1) OR c == 1", [](bool a, bool b, bool c) { return !(a || b) || c; }},
        {"NOT NOT a == 1 AND NOT b == 1", [](bool a, bool b, bool) { return a && !b; }},
        {"a == 1 AND (b == 1 OR c == 1)", [](bool a, bool b, bool c) { return a && (b || c); }},
    };
    for (const auto& [format, meaning] : groupings) {
        auto predicate = NSPredicate::predicateWithFormat(format);
        ASSERT_TRUE(predicate) << format;
        auto reparsed = NSPredicate::predicateWithFormat(predicate->predicateFormat());
        ASSERT_TRUE(reparsed) << predicate->predicateFormat();
        for (int row = 0; row < 8; ++row) {
            bool a = row & 1, b = row & 2, c = row & 4;
            Value object = Value::dictionary({{"a", a ? 1 : 0}, {"b", b ? 1 : 0}, {"c", c ? 1 : 0}});
            EXPECT_EQ(predicate->evaluateWithObject(object), meaning(a, b, c)) << format << " row " << row;
            EXPECT_EQ(reparsed->evaluateWithObject(object), meaning(a, b, c))
                << predicate->predicateFormat() << " row " << row;
        }
    }
}

TEST(NSPredicate, KeywordsIgnoreCaseAndNeedEscapingAsKeys) {
    Value object = Value::dictionary({{"major", 13}, {"in", 1}, {"and", 2}});
    expectCases({{"major == 13 and major > 1", true},
                 {"major == 13 And major > 1", true},
                 {"major == 12 or major == 13", true},
                 {"not major == 12", true},
                 {"major between {1, 20}", true},
                 {"major Between {1, 20}", true},
                 {"major in {13}", true},
                 {"truepredicate", true},
                 {"TruePredicate", true},
                 {"falsepredicate", false},
                 {"missing == nil", true},
                 {"missing == Null", true},
                 {"#in == 1", true},
                 {"#and == 2", true},
                 {"#major == 13", true}},
                object);

    auto escaped = NSPredicate::predicateWithFormat("#in == 1 AND #AND.#between > 0");
    ASSERT_TRUE(escaped);
    EXPECT_EQ(escaped->predicateFormat(), "#in == 1 AND #AND.#between > 0");
}

TEST(NSPredicate, ConstantPredicates) {
    expectCases({{"TRUEPREDICATE", true},
                 {"FALSEPREDICATE", false},
                 {"NOT FALSEPREDICATE", true},
                 {"TRUEPREDICATE AND FALSEPREDICATE", false},
                 {"FALSEPREDICATE OR major == 13", true},
                 {"(TRUEPREDICATE)", true}},
                version(13, 0));
    EXPECT_TRUE(NSPredicate::predicateWithValue(true)->evaluateWithObject(Value()));
    EXPECT_FALSE(NSPredicate::predicateWithValue(false)->evaluateWithObject(Value()));
    EXPECT_EQ(NSPredicate::predicateWithValue(true)->predicateFormat(), "TRUEPREDICATE");
}

TEST(NSPredicate, TypicalVersionRequirements) {
    struct Requirement {
        std::string format;
        std::vector<std::pair<Value, bool>> versions;
    };
    const std::vector<Requirement> requirements{
        {"major >= 13", {{version(12, 9), false}, {version(13, 0), true}, {version(14, 1), true}}},
        {"major < 13", {{version(12, 9), true}, {version(13, 0), false}}},
        {"major == 12 AND minor >= 4",
         {{version(12, 3), false},
          {version(12, 4), true},
          {version(12, 5, 1), true},
          {version(13, 4), false}}},
        {"(major > 11) OR (major == 11 AND minor >= 3)",
         {{version(10, 9), false}, {version(11, 2), false}, {version(11, 3), true}, {version(12, 0), true}}},
        {"major == 13 AND minor == 4 AND patch BETWEEN {0, 1}",
         {{version(13, 4, 0), true},
          {version(13, 4, 1), true},
          {version(13, 4, 2), false},
          {version(13, 3, 1), false}}},
        {"NOT (major IN {11, 12})",
         {{version(11, 4), false}, {version(12, 0), false}, {version(13, 0), true}}},
    };
    for (const auto& [format, versions] : requirements) {
        for (const auto& [object, expected] : versions)
            EXPECT_EQ(holds(format, object), expected) << format << " against " << object.description();
    }
}

TEST(NSPredicate, FormatIsNormalisedAndParsesBack) {
    const std::vector<std::pair<std::string, std::string>> renderings{
        {"major>=13 and (minor =< 4 || patch <> 1)", "major >= 13 AND (minor <= 4 OR patch != 1)"},
        {"!(a = 1 && b => 2)", "NOT (a == 1 AND b >= 2)"},
        {"((a < 1)) OR b > 2 AND c == 3", "a < 1 OR b > 2 AND c == 3"},
        {"name == 'a\"b\\\\c'", "name == \"a\\\"b\\\\c\""},
        {"x BETWEEN {1, 2.5} OR y IN {'a', nil, yes, no}",
         "x BETWEEN {1, 2.5} OR y IN {\"a\", nil, TRUE, FALSE}"},
        {"x < +7 AND x > -1.50", "x < 7 AND x > -1.5"},
        {"x < 99999999999999999999999", "x < 1e+23"},
        {"NOT NOT x == 1", "NOT NOT x == 1"},
    };
    for (const auto& [source, rendering] : renderings) {
        auto predicate = NSPredicate::predicateWithFormat(source);
        ASSERT_TRUE(predicate) << source;
        EXPECT_EQ(predicate->predicateFormat(), rendering) << source;
        auto reparsed = NSPredicate::predicateWithFormat(rendering);
        ASSERT_TRUE(reparsed) << rendering;
        EXPECT_EQ(reparsed->predicateFormat(), rendering);
    }
}

TEST(NSPredicate, ErrorsNameThePositionAndTheReason) {
    struct Failure {
        std::string format;
        std::size_t position;
        std::string reasonFragment;
    };
    const std::vector<Failure> failures{
        {"", 0, "empty"},
        {"   ", 3, "empty"},
        {"major >= ", 9, "found the end of the format"},
        {"major >= 13 AND", 15, "found the end of the format"},
        {"major", 5, "expected a comparison operator"},
        {"(major > 11", 11, "expected ')' to close the '(' at position 0"},
        {"((major > 11) OR minor > 1", 26, "'(' at position 0"},
        {"major > 11)", 10, "')' without a matching '('"},
        {"()", 1, "expected a key path or a value"},
        {"major >= 13 minor", 12, "unexpected 'minor'"},
        {"major = = 13", 8, "found '='"},
        {"major ! 13", 6, "expected a comparison operator after 'major' but found '!'"},
        {"= 13", 0, "found '='"},
        {"major == 'abc", 9, "unterminated string"},
        {"major == \"abc\\\"", 9, "unterminated string"},
        {"major BETWEEN 1", 14, "BETWEEN needs a list of two values"},
        {"major BETWEEN {1}", 14, "exactly two values but the list has 1"},
        {"major BETWEEN {1, 2, 3}", 14, "the list has 3"},
        {"major BETWEEN {}", 14, "the list has 0"},
        {"major IN {1, 2", 14, "expected ',' or '}' in the list opened at position 9"},
        {"major IN {1,}", 12, "expected a key path or a value"},
        {"major IN {{1}}", 10, "found '{'"},
        {"major == {1}", 9, "found '{'"},
        {"major & minor", 6, "'&&'"},
        {"major | minor", 6, "'||'"},
        {"major @ 1", 6, "unexpected character '@'"},
        {"major == 1 %", 11, "unexpected character '%'"},
        {"major CONTAINS 1", 6, "not supported"},
        {"and == 1", 0, "reserved word; write #and"},
        {"major == truepredicate", 9, "reserved word"},
        {"# == 1", 0, "'#' must be followed by a key"},
        {"major. == 1", 7, "expected a key after '.'"},
        {"major >= 12abc", 9, "malformed number"},
        {"major >= 1e", 9, "malformed number"},
        {"major >= 1e999", 9, "out of range"},
        {"major >= -1e999", 9, "out of range"},
        {"major >= 1.2.3", 9, "compare major, minor and patch separately"},
        {"major >= 0x0G", 9, "malformed number"},
        {"major >= 0o18", 9, "malformed number"},
        {"major >= 0b102", 9, "malformed number"},
        {"major >= 0x.5", 9, "malformed number"},
        {"major >= 0b", 9, "malformed number"},
        {"major >= 0x8000000000000000", 9, "out of range"},
        {"major >= -0x8000000000000001", 9, "out of range"},
        {"major >= 0x10000000000000000", 9, "out of range"},
        {"major >= 1.x", 10, "unexpected '.'"},
        {"major - 1 > 0", 6, "unexpected character '-'"},
        {"(major == 13) == yes", 14, "unexpected '==' after a complete predicate"},
        {std::string("major == \x01"), 9, "byte 0x01"},
    };
    for (const auto& [format, position, reasonFragment] : failures) {
        auto result = NSPredicate::parse(format);
        auto* failure = std::get_if<platform::PredicateParseError>(&result);
        ASSERT_TRUE(failure) << format << " parsed as " << std::get<0>(result)->predicateFormat();
        EXPECT_EQ(failure->position, position) << format << ": " << failure->reason;
        EXPECT_NE(failure->reason.find(reasonFragment), std::string::npos)
            << format << ": " << failure->reason;
    }

    NSErrorPtr error;
    EXPECT_FALSE(NSPredicate::predicateWithFormat("major >> 1", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
    EXPECT_EQ(error->code(), 2048);
    EXPECT_EQ(error->localizedDescription(),
              "Unable to parse the format string \"major >> 1\" at position 7: "
              "expected a key path or a value but found '>'");
    EXPECT_FALSE(NSPredicate::predicateWithFormat("major >"));
}

TEST(NSPredicate, NestingIsBoundedButLongChainsAreNot) {
    const std::size_t limit = 256;
    auto parenthesised = [](std::size_t depth) {
        return std::string(depth, '(') + "major == 13" + std::string(depth, ')');
    };
    EXPECT_TRUE(holds(parenthesised(limit), version(13, 0)));
    auto tooDeep = NSPredicate::parse(parenthesised(limit + 1));
    ASSERT_TRUE(std::holds_alternative<platform::PredicateParseError>(tooDeep));
    EXPECT_EQ(std::get<platform::PredicateParseError>(tooDeep).position, limit);

    std::string negations;
    for (std::size_t i = 0; i < limit; ++i)
        negations += "NOT ";
    EXPECT_TRUE(holds(negations + "major == 13", version(13, 0)));
    auto tooManyNegations = NSPredicate::parse(negations + "! major == 13");
    ASSERT_TRUE(std::holds_alternative<platform::PredicateParseError>(tooManyNegations));
    EXPECT_EQ(std::get<platform::PredicateParseError>(tooManyNegations).position, limit * 4);

    // Parentheses and NOTs share the limit.
    auto mixed = NSPredicate::parse(std::string(limit / 2, '(') + negations.substr(0, limit * 2) + "(a == 1" +
                                    std::string(limit / 2 + 1, ')'));
    EXPECT_TRUE(std::holds_alternative<platform::PredicateParseError>(mixed));

    // A flat chain is one node, however long: no recursion over its length when evaluating, rendering or
    // destroying it.
    std::string chain = "major == 0";
    for (int i = 1; i < 50000; ++i)
        chain += " OR major == " + std::to_string(i);
    auto predicate = NSPredicate::predicateWithFormat(chain);
    ASSERT_TRUE(predicate);
    EXPECT_TRUE(predicate->evaluateWithObject(version(49999, 0)));
    EXPECT_FALSE(predicate->evaluateWithObject(version(50000, 0)));
    EXPECT_EQ(predicate->predicateFormat(), chain);
}
