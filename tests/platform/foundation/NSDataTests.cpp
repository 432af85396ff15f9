#include <gtest/gtest.h>

#include <filesystem>

#include "platform/foundation/FoundationErrors.h"
#include "platform/foundation/NSData.h"
#include "platform/foundation/NSURL.h"
#include "tests/support/TemporaryDeviceRoot.h"

namespace {

std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

} // namespace

TEST(NSData, ReadsFilesAndFileURLsOnly) {
    TemporaryDeviceRoot root;
    root.writeFile("/var/a b.bin", std::string("\0\x01\xFF", 3));

    auto data = NSData::dataWithContentsOfFile("/var/a b.bin");
    ASSERT_TRUE(data);
    EXPECT_EQ(data->bytes(), (std::vector<std::uint8_t>{0x00, 0x01, 0xFF}));
    EXPECT_EQ(data->length(), 3u);
    auto viaURL = NSData::dataWithContentsOfURL(NSURL::fileURLWithPath("/var/a b.bin"));
    ASSERT_TRUE(viaURL);
    EXPECT_EQ(*viaURL, *data);

    NSErrorPtr error;
    EXPECT_FALSE(NSData::dataWithContentsOfFile("/var/missing", &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
    EXPECT_EQ(error->code(), NSFileReadNoSuchFileError);
    EXPECT_FALSE(NSData::dataWithContentsOfFile("/var"));
    // Plain http to a host that is not loopback is refused before any connection is made.
    EXPECT_FALSE(NSData::dataWithContentsOfURL(NSURL::URLWithString("http://device.invalid/var/a%20b.bin")));
    EXPECT_FALSE(NSData::dataWithContentsOfURL(nullptr));

    auto value = data->value();
    ASSERT_TRUE(value.isData());
    EXPECT_EQ(*NSData::dataWithValue(value), *data);
    EXPECT_FALSE(NSData::dataWithValue(Value("text")));
    EXPECT_EQ(NSData("héllo").stringValue(), "héllo");
    EXPECT_EQ(NSData::dataWithBytes(nullptr, 4)->length(), 0u);
}

TEST(NSData, WritesAtomicallyOrInPlace) {
    TemporaryDeviceRoot root;
    root.writeFile("/var/mobile/settings.json", "old contents");
    NSData replacement(std::string_view("new"));

    ASSERT_TRUE(replacement.writeToFile("/var/mobile/settings.json", true));
    EXPECT_EQ(root.readFile("/var/mobile/settings.json"), "new");
    EXPECT_EQ(entriesIn(root.hostPath("/var/mobile")), 1u);

    // In place truncates: nothing of the longer old contents remains.
    root.writeFile("/var/mobile/settings.json", "old contents");
    ASSERT_TRUE(replacement.writeToFile("/var/mobile/settings.json", false));
    EXPECT_EQ(root.readFile("/var/mobile/settings.json"), "new");

    ASSERT_TRUE(replacement.writeToURL(NSURL::fileURLWithPath("/var/mobile/other file"), true));
    EXPECT_EQ(root.readFile("/var/mobile/other file"), "new");

    for (bool atomically : {true, false}) {
        NSErrorPtr error;
        EXPECT_FALSE(replacement.writeToFile("/var/missing/x", atomically, &error));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
        EXPECT_EQ(error->code(), NSFileNoSuchFileError);
        // A folder in the way stays a folder.
        EXPECT_FALSE(replacement.writeToFile("/var/mobile", atomically));
        EXPECT_TRUE(std::filesystem::is_directory(root.hostPath("/var/mobile")));
    }
    EXPECT_FALSE(replacement.writeToURL(NSURL::URLWithString("http://127.0.0.1/x"), true));
}
