#include <gtest/gtest.h>

#include <filesystem>

#include "platform/foundation/NSOutputStream.h"
#include "tests/support/TemporaryDeviceRoot.h"

namespace {

long writeText(NSOutputStream& stream, std::string_view text) {
    return stream.write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(NSOutputStream, ReplacesTheFileOnlyWhenClosed) {
    TemporaryDeviceRoot root;
    root.writeFile("/var/cache/image.png", "old image");

    auto stream = NSOutputStream::outputStreamToFileAtPath("/var/cache/image.png", false);
    EXPECT_EQ(writeText(*stream, "too early"), -1);
    stream->open();
    ASSERT_EQ(stream->streamStatus(), NSStreamStatusOpen);
    EXPECT_EQ(writeText(*stream, "new "), 4);
    EXPECT_EQ(writeText(*stream, "image, longer"), 13);
    EXPECT_EQ(stream->write(nullptr, 0), 0);
    // Readers still see the whole old file while the stream is open.
    EXPECT_EQ(root.readFile("/var/cache/image.png"), "old image");

    stream->close();
    EXPECT_EQ(stream->streamStatus(), NSStreamStatusClosed);
    EXPECT_FALSE(stream->streamError());
    EXPECT_EQ(root.readFile("/var/cache/image.png"), "new image, longer");
    EXPECT_EQ(namesIn(root.hostPath("/var/cache")), std::vector<std::string>{"image.png"});
    EXPECT_EQ(writeText(*stream, "after close"), -1);
}

TEST(NSOutputStream, AbandonedOrFailedStreamsLeaveTheOldFile) {
    TemporaryDeviceRoot root;
    root.writeFile("/var/cache/image.png", "old image");
    {
        auto abandoned = NSOutputStream::outputStreamToFileAtPath("/var/cache/image.png", false);
        abandoned->open();
        EXPECT_EQ(writeText(*abandoned, "half"), 4);
    }
    EXPECT_EQ(root.readFile("/var/cache/image.png"), "old image");
    EXPECT_EQ(namesIn(root.hostPath("/var/cache")), std::vector<std::string>{"image.png"});

    // A folder cannot be replaced by a file: the stream fails and the folder keeps its contents.
    root.writeFile("/var/cache/folder/kept", "kept");
    auto intoFolder = NSOutputStream::outputStreamToFileAtPath("/var/cache/folder", false);
    intoFolder->open();
    EXPECT_EQ(intoFolder->streamStatus(), NSStreamStatusError);
    ASSERT_TRUE(intoFolder->streamError());
    EXPECT_EQ(intoFolder->streamError()->domain(), NSPOSIXErrorDomain);
    EXPECT_EQ(writeText(*intoFolder, "x"), -1);
    intoFolder->close();
    EXPECT_EQ(intoFolder->streamStatus(), NSStreamStatusError);
    EXPECT_EQ(root.readFile("/var/cache/folder/kept"), "kept");

    auto nowhere = NSOutputStream::outputStreamToFileAtPath("/missing/folder/file", false);
    nowhere->open();
    EXPECT_EQ(nowhere->streamStatus(), NSStreamStatusError);
    EXPECT_EQ(namesIn(root.hostPath("/var/cache")), (std::vector<std::string>{"folder", "image.png"}));
}

TEST(NSOutputStream, AppendsToTheFileItself) {
    TemporaryDeviceRoot root;
    root.writeFile("/var/log.txt", "one\n");
    auto stream = NSOutputStream::outputStreamToFileAtPath("/var/log.txt", true);
    stream->open();
    EXPECT_EQ(writeText(*stream, "two\n"), 4);
    EXPECT_EQ(root.readFile("/var/log.txt"), "one\ntwo\n");
    stream->close();
    EXPECT_EQ(stream->streamStatus(), NSStreamStatusClosed);

    auto fresh = NSOutputStream::outputStreamToFileAtPath("/var/new.txt", true);
    fresh->open();
    EXPECT_EQ(writeText(*fresh, "first"), 5);
    fresh->close();
    EXPECT_EQ(root.readFile("/var/new.txt"), "first");
}
