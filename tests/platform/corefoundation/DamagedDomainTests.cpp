// Preference domains that are damaged, very large or deeply nested: a change never costs the values
// already stored, and a replaced file reaches the disk before its name does.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/corefoundation/CFPreferences.h"
#include "platform/corefoundation/PreferencesStore.h"
#include "platform/foundation/PropertyList.h"
#include "tests/support/TemporaryDeviceRoot.h"

namespace {

constexpr std::string_view app = "com.example.damaged";
constexpr std::string_view domainPath = "/var/mobile/Library/Preferences/com.example.damaged.plist";

// What fsync was asked to flush while a test watched: the file or folder, and whether the domain
// file already held the marker at that moment.
struct SyncRecord {
    std::string path;
    bool targetHeldMarker = false;
};

std::mutex syncMutex;
bool watchingSyncs = false;
std::string watchedTarget;
std::string watchedMarker;
std::vector<SyncRecord> syncRecords;

std::string pathOfDescriptor(int descriptor) {
    char link[4096];
    ssize_t length = ::readlink(("/proc/self/fd/" + std::to_string(descriptor)).c_str(), link, sizeof link);
    return length > 0 ? std::string(link, static_cast<std::size_t>(length)) : std::string();
}

bool fileContains(const std::string& path, const std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    std::string contents;
    char buffer[4096];
    for (std::size_t length; (length = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        contents.append(buffer, length);
    std::fclose(file);
    return contents.find(text) != std::string::npos;
}

} // namespace

// Stands in for libc's fsync in this test program, so a test can see what is flushed and when.
extern "C" int fsync(int descriptor) {
    static auto* realSync = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    {
        std::lock_guard lock(syncMutex);
        if (watchingSyncs)
            syncRecords.push_back({pathOfDescriptor(descriptor), fileContains(watchedTarget, watchedMarker)});
    }
    return realSync(descriptor);
}

namespace {

std::string xmlDomain(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n" + body +
           "</dict>\n</plist>\n";
}

class DamagedDomainTest : public ::testing::Test {
protected:
    void SetUp() override { platform::PreferencesStore::shared().resetForNewProcess(); }
    void TearDown() override { platform::PreferencesStore::shared().resetForNewProcess(); }

    Value readBack() const { return platform::PropertyList::readFile(domainPath).value_or(Value()); }

    TemporaryDeviceRoot root;
};

TEST_F(DamagedDomainTest, AnUnreadableDomainIsKeptAndTheChangeWaitsUntilItReadsAgain) {
    const std::string damaged = xmlDomain("<key>volume</key><integer>3</integer>\n<key>cut off");
    root.writeFile(domainPath, damaged);

    testing::internal::CaptureStderr();
    EXPECT_TRUE(CFPreferencesCopyAppValue("volume", app).isNull());
    CFPreferencesSetAppValue("enabled", false, app);
    EXPECT_FALSE(CFPreferencesAppSynchronize(app));
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("couldn't read the preference domain " + std::string(domainPath)),
              std::string::npos)
        << errors;
    EXPECT_EQ(root.readFile(domainPath), damaged);

    // Once the file reads again, the pending change joins what it holds.
    root.writeFile(domainPath, xmlDomain("<key>volume</key><integer>3</integer>\n"));
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));
    EXPECT_EQ(readBack(), Value::dictionary({{"enabled", false}, {"volume", 3}}));
}

TEST_F(DamagedDomainTest, ADomainThatIsNotADictionaryIsNotReplaced) {
    const std::string array = "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><true/></array></plist>";
    root.writeFile(domainPath, array);
    testing::internal::CaptureStderr();
    CFPreferencesSetAppValue("enabled", true, app);
    EXPECT_FALSE(CFPreferencesAppSynchronize(app));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(root.readFile(domainPath), array);
}

TEST_F(DamagedDomainTest, LargeAndDeepDomainsKeepEveryValueThroughAChange) {
    // 17 MB in one value, and a value nested 600 levels deep: both within what the writer itself
    // produces, so both must read back.
    const std::string large(17 * 1024 * 1024, 'x');
    std::string deep;
    for (int level = 0; level < 600; ++level)
        deep += "<array>";
    deep += "<string>bottom</string>";
    for (int level = 0; level < 600; ++level)
        deep += "</array>";
    root.writeFile(domainPath, xmlDomain("<key>large</key><string>" + large + "</string>\n<key>deep</key>" +
                                         deep + "\n<key>volume</key><integer>3</integer>\n"));

    CFPreferencesSetAppValue("enabled", false, app);
    ASSERT_TRUE(CFPreferencesAppSynchronize(app));

    platform::PreferencesStore::shared().resetForNewProcess();
    EXPECT_EQ(CFPreferencesCopyAppValue("volume", app), Value(3));
    EXPECT_EQ(CFPreferencesCopyAppValue("enabled", app), Value(false));
    EXPECT_EQ(CFPreferencesCopyAppValue("large", app).asString().size(), large.size());
    Value level = CFPreferencesCopyAppValue("deep", app);
    int depth = 0;
    for (; level.isArray() && level.count() == 1; ++depth)
        level = level.asArray().front();
    EXPECT_EQ(depth, 600);
    EXPECT_EQ(level, Value("bottom"));
}

TEST_F(DamagedDomainTest, AReplacedDomainIsFlushedBeforeItsRenameAndItsFolderAfter) {
    {
        std::lock_guard lock(syncMutex);
        watchedTarget = root.hostPath(domainPath).string();
        watchedMarker = "flushedMarker";
        syncRecords.clear();
        watchingSyncs = true;
    }
    CFPreferencesSetAppValue("flushedMarker", true, app);
    bool synchronised = CFPreferencesAppSynchronize(app);
    std::vector<SyncRecord> records;
    {
        std::lock_guard lock(syncMutex);
        watchingSyncs = false;
        records = syncRecords;
    }
    ASSERT_TRUE(synchronised);

    const std::string folder = root.hostPath(domainPath).parent_path().string();
    bool dataFlushedBeforeRename = false;
    bool folderFlushedAfterRename = false;
    for (const auto& record : records) {
        if (record.path.find("com.example.damaged.plist.tmp-") != std::string::npos &&
            !record.targetHeldMarker)
            dataFlushedBeforeRename = true;
        if (record.path == folder && record.targetHeldMarker)
            folderFlushedAfterRename = true;
    }
    EXPECT_TRUE(dataFlushedBeforeRename);
    EXPECT_TRUE(folderFlushedAfterRename);
}

} // namespace
