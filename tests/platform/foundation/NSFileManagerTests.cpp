#include <gtest/gtest.h>

#include "platform/foundation/FoundationErrors.h"
#include "platform/foundation/NSFileManager.h"
#include "tests/support/TemporaryDeviceRoot.h"

TEST(NSFileManager, CreatesDirectoriesWithAndWithoutIntermediates) {
    TemporaryDeviceRoot root;
    auto& files = NSFileManager::defaultManager();
    NSErrorPtr error;

    EXPECT_FALSE(files.createDirectoryAtPath("/var/mobile/Library", false, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), NSCocoaErrorDomain);
    EXPECT_EQ(error->code(), NSFileNoSuchFileError);
    EXPECT_FALSE(files.fileExistsAtPath("/var"));

    error.reset();
    EXPECT_TRUE(files.createDirectoryAtPath("/var/mobile/Library", true, &error));
    EXPECT_FALSE(error);
    bool isDirectory = false;
    EXPECT_TRUE(files.fileExistsAtPath("/var/mobile/Library", &isDirectory));
    EXPECT_TRUE(isDirectory);

    // An existing folder is fine when intermediates were asked for, and an error otherwise.
    EXPECT_TRUE(files.createDirectoryAtPath("/var/mobile/Library", true));
    EXPECT_FALSE(files.createDirectoryAtPath("/var/mobile/Library", false, &error));
    EXPECT_EQ(error->code(), NSFileWriteFileExistsError);
    EXPECT_TRUE(files.createDirectoryAtPath("/var/mobile/Library/Caches", false));

    // A file where a folder should be is always a failure, at the end or along the way.
    root.writeFile("/var/mobile/blocker", "x");
    EXPECT_FALSE(files.createDirectoryAtPath("/var/mobile/blocker", true, &error));
    EXPECT_FALSE(files.createDirectoryAtPath("/var/mobile/blocker/inner", true, &error));
    EXPECT_FALSE(files.createDirectoryAtPath("/var/mobile/blocker/inner", false, &error));
    EXPECT_TRUE(files.fileExistsAtPath("/var/mobile/blocker", &isDirectory));
    EXPECT_FALSE(isDirectory);
    EXPECT_EQ(root.readFile("/var/mobile/blocker"), "x");
}

TEST(NSFileManager, ListsRemovesMovesAndCopies) {
    TemporaryDeviceRoot root;
    auto& files = NSFileManager::defaultManager();
    root.writeFile("/d/b.txt", "b");
    root.writeFile("/d/.hidden", "h");
    root.writeFile("/d/a/nested/deep.txt", "deep");

    EXPECT_EQ(files.contentsOfDirectoryAtPath("/d"), (std::vector<std::string>{".hidden", "a", "b.txt"}));
    NSErrorPtr error;
    EXPECT_TRUE(files.contentsOfDirectoryAtPath("/missing", &error).empty());
    EXPECT_TRUE(error);
    error.reset();
    EXPECT_TRUE(files.contentsOfDirectoryAtPath("/d/b.txt", &error).empty());
    EXPECT_TRUE(error);

    EXPECT_TRUE(files.copyItemAtPath("/d/a", "/copy"));
    EXPECT_EQ(root.readFile("/copy/nested/deep.txt"), "deep");
    EXPECT_FALSE(files.copyItemAtPath("/d/b.txt", "/copy", &error));
    EXPECT_EQ(error->code(), NSFileWriteFileExistsError);
    EXPECT_FALSE(files.copyItemAtPath("/d/a", "/d/a/nested/again"));
    EXPECT_FALSE(files.copyItemAtPath("/d/none", "/other"));
    EXPECT_FALSE(files.copyItemAtPath("/d/b.txt", "/no/such/folder/b.txt"));

    EXPECT_TRUE(files.moveItemAtPath("/d/b.txt", "/copy/b.txt"));
    EXPECT_FALSE(files.fileExistsAtPath("/d/b.txt"));
    EXPECT_EQ(root.readFile("/copy/b.txt"), "b");
    EXPECT_FALSE(files.moveItemAtPath("/d/a", "/copy", &error));
    EXPECT_TRUE(files.fileExistsAtPath("/d/a/nested/deep.txt"));

    EXPECT_TRUE(files.removeItemAtPath("/d"));
    EXPECT_FALSE(files.fileExistsAtPath("/d"));
    EXPECT_FALSE(files.removeItemAtPath("/d", &error));
    EXPECT_EQ(error->code(), NSFileNoSuchFileError);
    // The device's root folder itself is never removed.
    EXPECT_FALSE(files.removeItemAtPath("/../"));
    EXPECT_TRUE(std::filesystem::exists(root.path()));
    EXPECT_TRUE(files.fileExistsAtPath("/copy/b.txt"));
}
