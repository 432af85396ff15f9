#include <gtest/gtest.h>

#include "platform/foundation/DeviceRoot.h"
#include "tests/support/TemporaryDeviceRoot.h"

TEST(DeviceRoot, PathsNeverLeaveTheRoot) {
    TemporaryDeviceRoot root;
    EXPECT_EQ(platform::DeviceRoot::resolve("/var/mobile"), root.path() / "var/mobile");
    EXPECT_EQ(platform::DeviceRoot::resolve("/../../etc/passwd"), root.path() / "etc/passwd");
    EXPECT_EQ(platform::DeviceRoot::resolve("/var/../../../x/./y//z/.."), root.path() / "x/y");
    EXPECT_EQ(platform::DeviceRoot::resolve(".."), root.path());
    EXPECT_EQ(platform::DeviceRoot::resolve(""), root.path());
    EXPECT_EQ(platform::DeviceRoot::normalize("a/b/../c/"), "/a/c");
}

TEST(DeviceRoot, AtomicWriteReplacesAndLeavesNoTemporaryFiles) {
    TemporaryDeviceRoot root;
    std::filesystem::create_directories(root.hostPath("/var"));
    ASSERT_TRUE(platform::writeFileAtomically("/var/file", {'a', 'b'}));
    ASSERT_TRUE(platform::writeFileAtomically("/var/file", {'c'}));
    EXPECT_EQ(root.readFile("/var/file"), "c");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root.hostPath("/var")), {}), 1);

    NSErrorPtr error;
    EXPECT_FALSE(platform::writeFileAtomically("/missing/folder/file", {'x'}, &error));
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->localizedDescription().empty());

    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(platform::readFile("/var", bytes, &error));
    EXPECT_TRUE(platform::readFile("/var/file", bytes));
    EXPECT_EQ(bytes, std::vector<std::uint8_t>{'c'});
}
