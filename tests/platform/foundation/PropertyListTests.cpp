#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <plist/plist.h>

#include "platform/foundation/NSArray.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/PlistTree.h"
#include "platform/foundation/PropertyList.h"
#include "platform/foundation/XMLPropertyListScanner.h"
#include "tests/support/TemporaryDeviceRoot.h"

using platform::PropertyList;

namespace {

constexpr std::int64_t int64Max = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t int64Min = std::numeric_limits<std::int64_t>::min();

Value everyKind() {
    return Value::dictionary({
        {"text", "héllo ✓ <&> ]]> \"quoted\""},
        {"empty", ""},
        {"integers", Value::array({0, -5, int64Min, int64Max, 42})},
        {"reals", Value::array({0.1, -2.5e-300, 1e300, 3.0, -0.5})},
        {"flags", Value::array({true, false})},
        {"data", Value(Value::Data{0x00, 0xff, 0x10, 0x80})},
        {"emptyData", Value(Value::Data{})},
        // XML keeps whole seconds only.
        {"dates",
         Value::array({Value(Value::Date{0}), Value(Value::Date{123456789}), Value(Value::Date{-86400})})},
        {"nested", Value::dictionary({{"list", Value::array({Value::array(), Value::dictionary()})},
                                      {"", Value::dictionary({{"deeper", "yes"}})}})},
    });
}

std::string xmlDocument(std::string_view body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + std::string(body) +
           "</plist>";
}

// The same list in libplist's binary form.
std::vector<std::uint8_t> toBinary(const std::string& xml) {
    plist_t root = nullptr;
    plist_from_xml(xml.data(), static_cast<std::uint32_t>(xml.size()), &root);
    EXPECT_NE(root, nullptr);
    char* binary = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(root, &binary, &length);
    std::vector<std::uint8_t> bytes(binary, binary + length);
    plist_to_bin_free(binary);
    plist_free(root);
    return bytes;
}

std::string repeated(std::string_view text, std::size_t count) {
    std::string result;
    for (std::size_t index = 0; index < count; ++index)
        result += text;
    return result;
}

std::string nestedArrays(std::size_t depth) {
    return xmlDocument(repeated("<array>", depth) + repeated("</array>", depth));
}

std::size_t libplistDepth(plist_t node) {
    std::size_t deepest = 0;
    if (plist_get_node_type(node) == PLIST_ARRAY) {
        for (std::uint32_t index = 0; index < plist_array_get_size(node); ++index)
            deepest = std::max(deepest, libplistDepth(plist_array_get_item(node, index)));
        return deepest + 1;
    }
    if (plist_get_node_type(node) == PLIST_DICT) {
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        for (plist_t item = nullptr;; item = nullptr) {
            plist_dict_next_item(node, iterator, nullptr, &item);
            if (!item)
                break;
            deepest = std::max(deepest, libplistDepth(item));
        }
        std::free(iterator);
        return deepest + 1;
    }
    return 0;
}

// How deeply the tree that libplist itself reads from the text nests; nothing if it reads none.
std::optional<std::size_t> libplistDepth(const std::string& xml) {
    plist_t root = nullptr;
    plist_from_memory(xml.data(), static_cast<std::uint32_t>(xml.size()), &root);
    if (!root)
        return std::nullopt;
    std::size_t depth = libplistDepth(root);
    plist_free(root);
    return depth;
}

void putBigEndian(std::vector<std::uint8_t>& bytes, std::uint64_t value, int width) {
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Objects for hand-made binary lists, with 4-byte references.
const std::vector<std::uint8_t> integerSeven{0x10, 0x07};

std::vector<std::uint8_t> arrayOf(const std::vector<std::uint32_t>& references) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(0xA0 | references.size())};
    for (auto reference : references)
        putBigEndian(bytes, reference, 4);
    return bytes;
}

std::vector<std::uint8_t> dictionaryOf(std::uint32_t key, std::uint32_t value) {
    std::vector<std::uint8_t> bytes{0xD1};
    putBigEndian(bytes, key, 4);
    putBigEndian(bytes, value, 4);
    return bytes;
}

std::vector<std::uint8_t> asciiString(std::string_view text) {
    std::vector<std::uint8_t> bytes{static_cast<std::uint8_t>(0x50 | text.size())};
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

// An array of `count` references to object `reference`, with a count of more than 14 items.
std::vector<std::uint8_t> longArrayOf(std::uint32_t reference, std::uint32_t count) {
    std::vector<std::uint8_t> bytes{0xAF, 0x12};
    putBigEndian(bytes, count, 4);
    for (std::uint32_t index = 0; index < count; ++index)
        putBigEndian(bytes, reference, 4);
    return bytes;
}

std::string xmlDictionaryOfKeys(std::size_t count) {
    std::string body = "<dict>";
    for (std::size_t index = 0; index < count; ++index)
        body += "<key>k" + std::to_string(index) + "</key><true/>";
    return xmlDocument(body + "</dict>");
}

// Lays out a binary property list by hand, for shapes libplist's writer never makes: shared
// collections, cycles, long chains and odd keys. The first object is the top one.
std::vector<std::uint8_t> handMadeBinary(const std::vector<std::vector<std::uint8_t>>& objects) {
    std::vector<std::uint8_t> bytes{'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    std::vector<std::uint32_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(static_cast<std::uint32_t>(bytes.size()));
        bytes.insert(bytes.end(), object.begin(), object.end());
    }
    std::uint64_t tableOffset = bytes.size();
    for (auto offset : offsets)
        putBigEndian(bytes, offset, 4);
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0, 0, 4, 4});
    putBigEndian(bytes, objects.size(), 8);
    putBigEndian(bytes, 0, 8);
    putBigEndian(bytes, tableOffset, 8);
    return bytes;
}

void expectCorrupt(std::optional<Value> parsed, const NSErrorPtr& error) {
    EXPECT_FALSE(parsed.has_value());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
    EXPECT_EQ(error->code(), PropertyList::readCorruptError);
}

} // namespace

TEST(PropertyList, XMLAndBinaryRoundTripsKeepEveryKindOfValue) {
    Value original = everyKind();
    auto xml = PropertyList::toXML(original);
    ASSERT_TRUE(xml);
    auto fromXML = PropertyList::parse(*xml);
    ASSERT_TRUE(fromXML);
    EXPECT_EQ(*fromXML, original) << fromXML->description();
    auto binary = toBinary(*xml);
    auto fromBinary = PropertyList::parse(binary.data(), binary.size());
    ASSERT_TRUE(fromBinary);
    EXPECT_EQ(*fromBinary, original) << fromBinary->description();

    // Numeric equality is lenient, so check that the kinds survived too.
    for (const Value* read : {&*fromXML, &*fromBinary}) {
        EXPECT_TRUE((*read)["integers"][2].isInteger());
        EXPECT_EQ((*read)["integers"][2].integerValue(), int64Min);
        EXPECT_TRUE((*read)["reals"][3].isReal());
        EXPECT_TRUE((*read)["flags"][0].isBool());
        EXPECT_TRUE((*read)["dates"][2].isDate());
        EXPECT_EQ((*read)["dates"][2].asDate().secondsSinceReferenceDate, -86400);
        EXPECT_TRUE((*read)["emptyData"].isData());
    }
}

TEST(PropertyList, ReadsTheXMLThatOtherWritersProduce) {
    auto value = PropertyList::parse(xmlDocument("<dict>"
                                                 "<key>negative</key><integer>-5</integer>"
                                                 "<key>escaped</key><string>a&amp;b&lt;&#x41;&#233;</string>"
                                                 "<key>cdata</key><string><![CDATA[<raw>]]></string>"
                                                 "<key>data</key><data>AAH/\n  gA==</data>"
                                                 "<key>farFuture</key><date>4001-01-01T00:00:00Z</date>"
                                                 "<key>longAgo</key><date>1800-06-01T12:00:00Z</date>"
                                                 "<!-- a comment -->"
                                                 "</dict>"));
    ASSERT_TRUE(value);
    EXPECT_EQ((*value)["negative"].integerValue(), -5);
    EXPECT_EQ((*value)["escaped"].asString(), "a&b<Aé");
    EXPECT_EQ((*value)["cdata"].asString(), "<raw>");
    EXPECT_EQ((*value)["data"].asData(), (Value::Data{0x00, 0x01, 0xff, 0x80}));
    // NSDate.distantFuture, and dates libplist can only hand out through its binary writer.
    EXPECT_EQ((*value)["farFuture"].asDate().secondsSinceReferenceDate, 63113904000.0);
    EXPECT_EQ((*value)["longAgo"].asDate().secondsSinceReferenceDate, -6329880000.0);
}

TEST(PropertyList, BinaryListsFromLibplistKeepTheirUIDsAndFractions) {
    plist_t root = plist_new_array();
    plist_array_append_item(root, plist_new_uid(9));
    plist_array_append_item(root, plist_new_date(-3, 250000));
    plist_array_append_item(root, plist_new_uint(static_cast<std::uint64_t>(-5)));
    char* binary = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(root, &binary, &length);
    auto value = PropertyList::parse(reinterpret_cast<const std::uint8_t*>(binary), length);
    plist_to_bin_free(binary);
    plist_free(root);
    ASSERT_TRUE(value);
    EXPECT_EQ((*value)[0], Value::dictionary({{"CF$UID", 9}}));
    EXPECT_EQ((*value)[1].asDate().secondsSinceReferenceDate, -2.75);
    EXPECT_EQ((*value)[2].integerValue(), -5);
}

TEST(PropertyList, WritingClampsDatesToWhatLibplistHolds) {
    Value farFuture = Value::array({Value(Value::Date{63113904000.0}), Value(Value::Date{-1e12})});
    auto read = PropertyList::parse(PropertyList::toXML(farFuture).value_or(""));
    ASSERT_TRUE(read);
    EXPECT_EQ((*read)[0].asDate().secondsSinceReferenceDate, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ((*read)[1].asDate().secondsSinceReferenceDate, std::numeric_limits<std::int32_t>::min());
}

TEST(PropertyList, ValuesWithoutAPropertyListFormGiveNoXML) {
    EXPECT_FALSE(PropertyList::toXML(Value()));
    EXPECT_FALSE(PropertyList::toXML(Value::dictionary({{"a", Value::array({1, Value()})}})));
    EXPECT_FALSE(PropertyList::toXML(Value::array({std::string("nul\0inside", 10)})));
    EXPECT_FALSE(PropertyList::toXML(Value::dictionary({{std::string("k\0", 2), 1}})));
    EXPECT_FALSE(PropertyList::toXML(Value(Value::Date{std::nan("")})));
    EXPECT_TRUE(PropertyList::toXML(Value("scalar root")));
    EXPECT_TRUE(PropertyList::toXML(Value(std::numeric_limits<double>::infinity())));
}

TEST(PropertyList, NestingDeeperThanTheLimitIsRefused) {
    EXPECT_TRUE(PropertyList::parse(nestedArrays(PropertyList::maximumDepth)));
    NSErrorPtr error;
    expectCorrupt(PropertyList::parse(nestedArrays(PropertyList::maximumDepth + 1), &error), error);

    // Deep enough to overflow the stack in any recursive walk, libplist's included; closed or not,
    // and with closing tags hidden in comments.
    expectCorrupt(PropertyList::parse(nestedArrays(200000), &error), error);
    expectCorrupt(PropertyList::parse("<plist>" + repeated("<array>", 200000), &error), error);
    expectCorrupt(PropertyList::parse("<plist>" + repeated("<array><!--</array>-->", 200000), &error), error);

    Value deep;
    for (std::size_t level = 0; level <= PropertyList::maximumDepth; ++level)
        deep = Value::array({deep.isNull() ? Value(1) : deep});
    EXPECT_FALSE(PropertyList::toXML(deep));
    EXPECT_TRUE(PropertyList::toXML(deep[0]));
}

TEST(PropertyList, TheEarlyDepthCountNeverFallsShortOfWhatLibplistBuilds) {
    // Text that libplist passes over (quoted, commented, in CDATA, a DOCTYPE or a processing
    // instruction) must neither open nor close a level in the count.
    std::vector<std::pair<std::string, std::size_t>> cases{
        {"<array a=\"<!--\"><array><true/></array></array>", 2},
        {"<array a=\">\"><array/></array>", 2},
        {"<array a=\"/>\"><array><true/></array></array>", 2},
        {"<?pi \"?>\" </array> ?><array><array><true/></array></array>", 2},
        {"<?><array><array><true/></array></array><?pi ?>", 2},
        {"<!DOCTYPE x [ <!ELEMENT a \"]>\"> </array> ]><array><array><true/></array></array>", 2},
        {"<array><string>a<!-- </array> -->b</string><array><true/></array></array>", 2},
        {"<array><string><![CDATA[</array></array>]]></string><array><array/></array></array>", 3},
        {"<dict><key>a</key><array\n><dict/></array\n></dict>", 3},
        {"<array><array></array ></array>", 2},
        {"<array/>", 1},
        {"<true/>", 0},
    };
    for (const auto& [body, depth] : cases) {
        std::string xml = xmlDocument(body);
        SCOPED_TRACE(xml);
        EXPECT_EQ(libplistDepth(xml), depth);
        EXPECT_EQ(platform::XMLPropertyListScanner::nestingDepth(xml), depth);
    }
    // Where libplist gives up, counting on is harmless: it only errs towards too deep.
    EXPECT_EQ(platform::XMLPropertyListScanner::nestingDepth("<plist><array><array"), 1u);
}

TEST(PropertyList, TreesTooDeepForRecursionAreStillFreed) {
    // The second line behind the early count: a libplist tree far deeper than plist_free can
    // recurse, owned by a PlistTree that cannot read it.
    plist_t root = plist_new_array();
    plist_t innermost = root;
    for (int level = 0; level < 300000; ++level) {
        plist_t child = level % 2 ? plist_new_array() : plist_new_dict();
        if (plist_get_node_type(innermost) == PLIST_ARRAY)
            plist_array_append_item(innermost, child);
        else
            plist_dict_set_item(innermost, "key", child);
        innermost = child;
    }
    platform::PlistTree tree(root);
    EXPECT_FALSE(tree.toValue(PropertyList::maximumDepth));
}

TEST(PropertyList, HostileBinaryShapesAreRefusedBeforeLibplistReadsThem) {
    NSErrorPtr error;
    // Each array holds the next one twice: a few hundred bytes that would expand to 2^40 nodes.
    std::vector<std::vector<std::uint8_t>> doubling;
    for (std::uint32_t index = 0; index < 40; ++index)
        doubling.push_back(arrayOf({index + 1, index + 1}));
    doubling.push_back(integerSeven);
    auto bytes = handMadeBinary(doubling);
    expectCorrupt(PropertyList::parse(bytes.data(), bytes.size(), &error), error);

    // A chain too deep for libplist's recursive reader.
    std::vector<std::vector<std::uint8_t>> chain;
    for (std::uint32_t index = 0; index < 100000; ++index)
        chain.push_back(arrayOf({index + 1}));
    chain.push_back(integerSeven);
    bytes = handMadeBinary(chain);
    expectCorrupt(PropertyList::parse(bytes.data(), bytes.size(), &error), error);

    // A cycle, and keys libplist 2.2 cannot hand out (it would read the number as a text pointer,
    // or stop on an assertion at the NUL).
    for (const auto& objects : std::vector<std::vector<std::vector<std::uint8_t>>>{
             {arrayOf({1}), arrayOf({0})},
             {dictionaryOf(1, 1), integerSeven},
             {dictionaryOf(1, 1), asciiString(std::string_view("a\0b", 3))},
         }) {
        bytes = handMadeBinary(objects);
        expectCorrupt(PropertyList::parse(bytes.data(), bytes.size(), &error), error);
    }

    // Sharing within bounds is fine: the same array referenced twice reads as two equal copies,
    // and one string may be a key and a value.
    bytes = handMadeBinary(
        {arrayOf({1, 1, 3}), arrayOf({2}), integerSeven, dictionaryOf(4, 4), asciiString("k")});
    auto shared = PropertyList::parse(bytes.data(), bytes.size());
    ASSERT_TRUE(shared);
    EXPECT_EQ(*shared, Value::array({Value::array({7}), Value::array({7}), Value::dictionary({{"k", "k"}})}));
}

TEST(PropertyList, BrokenInputGivesAnErrorNotAValue) {
    std::string valid = *PropertyList::toXML(everyKind());
    auto binary = toBinary(valid);
    std::vector<std::string> broken{
        "",
        "garbage",
        valid.substr(0, valid.size() / 2),
        xmlDocument("<dict><key>a</key><string>b</dict>"),
        xmlDocument("<array><integer>1</integer>"),
        "<plist><string>unterminated",
        "bplist00",
        std::string(binary.begin(), binary.begin() + static_cast<std::ptrdiff_t>(binary.size() / 2)),
        std::string(binary.begin(), binary.end() - 1),
    };
    for (const auto& input : broken) {
        NSErrorPtr error;
        SCOPED_TRACE(input.substr(0, 80));
        expectCorrupt(PropertyList::parse(input, &error), error);
    }

    NSErrorPtr error;
    std::string oversized(PropertyList::maximumInputSize + 1, ' ');
    oversized.replace(0, valid.size(), valid);
    expectCorrupt(PropertyList::parse(oversized, &error), error);
    EXPECT_NE(error->localizedDescription().find("larger"), std::string::npos);
    expectCorrupt(PropertyList::parse(nullptr, 4, &error), error);
}

TEST(PropertyList, DictionaryAndArrayFilesReadOnlyTheirOwnKind) {
    TemporaryDeviceRoot root;
    const std::string directory = "/var/mobile/Library/Preferences";
    std::filesystem::create_directories(root.hostPath(directory));
    Value settings = Value::dictionary({{"enabled", true}, {"names", Value::array({"a", "b"})}});
    ASSERT_TRUE(NSDictionary::writeToFile(settings, directory + "/com.example.plist", true));
    ASSERT_TRUE(NSArray::writeToFile(settings["names"], directory + "/list.plist", false));

    auto dictionary = NSDictionary::dictionaryWithContentsOfFile(directory + "/com.example.plist");
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(*dictionary, settings);
    auto array = NSArray::arrayWithContentsOfFile(directory + "/list.plist");
    ASSERT_TRUE(array);
    EXPECT_EQ(*array, settings["names"]);

    NSErrorPtr error;
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(directory + "/list.plist", &error));
    ASSERT_TRUE(error);
    EXPECT_FALSE(NSArray::arrayWithContentsOfFile(directory + "/com.example.plist"));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(directory + "/missing.plist", &error));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(directory));

    root.writeFile(directory + "/empty.plist", "");
    root.writeFile(directory + "/garbage.plist", "{ not a plist");
    root.writeFile(directory + "/truncated.plist",
                   root.readFile(directory + "/com.example.plist").substr(0, 120));
    for (const char* name : {"/empty.plist", "/garbage.plist", "/truncated.plist"})
        EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile(directory + name)) << name;

    // A huge file is refused by its size, before it is read.
    std::filesystem::resize_file(root.hostPath(directory + "/garbage.plist"),
                                 PropertyList::maximumInputSize + 1);
    EXPECT_FALSE(PropertyList::readFile(directory + "/garbage.plist", &error));
    EXPECT_NE(error->localizedDescription().find("larger"), std::string::npos);
}

TEST(PropertyList, FailedWritesLeaveTheFileAsItWas) {
    TemporaryDeviceRoot root;
    root.writeFile("/prefs/a.plist", "old");
    NSErrorPtr error;
    EXPECT_FALSE(
        NSDictionary::writeToFile(Value::dictionary({{"a", Value()}}), "/prefs/a.plist", true, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code(), PropertyList::writeInvalidError);
    EXPECT_FALSE(NSDictionary::writeToFile(Value::array({1}), "/prefs/a.plist", true));
    EXPECT_FALSE(NSArray::writeToFile(Value::dictionary(), "/prefs/a.plist", true));
    EXPECT_EQ(root.readFile("/prefs/a.plist"), "old");

    EXPECT_FALSE(PropertyList::writeFile("/no/such/folder/a.plist", Value::dictionary(), &error));
    ASSERT_TRUE(PropertyList::writeFile("/prefs/a.plist", Value::dictionary({{"k", 1}})));
    EXPECT_EQ(PropertyList::readFile("/prefs/a.plist"), Value::dictionary({{"k", 1}}));
}

TEST(PropertyList, ListsUpToTheObjectLimitReadWholeAndLargerOnesAreRefused) {
    // One string referenced from every slot of a long array: each reference becomes its own node.
    constexpr auto limit = static_cast<std::uint32_t>(PropertyList::maximumNodes);
    const std::vector<std::uint8_t> stringX{0x51, 'x'};
    auto bytes = handMadeBinary({longArrayOf(1, limit - 1), stringX});
    auto read = PropertyList::parse(bytes.data(), bytes.size());
    ASSERT_TRUE(read);
    ASSERT_EQ(read->asArray().size(), limit - 1);
    EXPECT_EQ(read->asArray().back(), Value("x"));

    NSErrorPtr error;
    bytes = handMadeBinary({longArrayOf(1, limit + 1), stringX});
    expectCorrupt(PropertyList::parse(bytes.data(), bytes.size(), &error), error);

    // The same limit for XML, counted before libplist builds anything.
    std::string items;
    for (std::uint32_t index = 0; index <= limit; ++index)
        items += "<true/>";
    expectCorrupt(PropertyList::parse(xmlDocument("<array>" + items + "</array>"), &error), error);
    items.resize(items.size() - std::string_view("<true/><true/>").size());
    auto justBelow = PropertyList::parse(xmlDocument("<array>" + items + "</array>"));
    ASSERT_TRUE(justBelow);
    EXPECT_EQ(justBelow->asArray().size(), limit - 1);
}

TEST(PropertyList, XMLDictionariesLargerThanTheKeyLimitAreRefused) {
    auto atLimit = PropertyList::parse(xmlDictionaryOfKeys(PropertyList::maximumXMLDictionaryKeys));
    ASSERT_TRUE(atLimit);
    EXPECT_EQ(atLimit->asDictionary().size(), PropertyList::maximumXMLDictionaryKeys);

    NSErrorPtr error;
    expectCorrupt(PropertyList::parse(xmlDictionaryOfKeys(PropertyList::maximumXMLDictionaryKeys + 1), &error),
                  error);
    // Keys of nested dictionaries count for their own dictionary, not for the outer one.
    std::string nested = "<dict>";
    for (int index = 0; index < 3; ++index) {
        nested += "<key>d" + std::to_string(index) + "</key><dict>";
        for (std::size_t key = 0; key < PropertyList::maximumXMLDictionaryKeys / 2; ++key)
            nested += "<key>k" + std::to_string(key) + "</key><true/>";
        nested += "</dict>";
    }
    auto wide = PropertyList::parse(xmlDocument(nested + "</dict>"));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->asDictionary().size(), 3u);
}
