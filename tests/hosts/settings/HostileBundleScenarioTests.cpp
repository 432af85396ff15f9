// The Settings host given what an attacker or a damaged device would give it: a main list built to
// be slow to read, and a credits server whose pictures are built to exhaust memory.
#include <fstream>
#include <iterator>

#include "hosts/devserver/DevServer.h"
#include "tests/hosts/settings/SettingsHostScenario.h"
#include "tests/support/HostilePictures.h"

namespace {

using json = nlohmann::json;

void putBigEndian(std::vector<std::uint8_t>& bytes, std::uint64_t value, int width) {
    for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// {"items": [s, s, s, ...]} as a binary list whose array holds `count` one-byte references to
// the same string: about one byte per item on disk, one node per item once read.
std::vector<std::uint8_t> itemsOfOneSharedString(std::uint32_t count) {
    std::vector<std::uint8_t> bytes{'b', 'p', 'l', 'i', 's', 't', '0', '0'};
    std::vector<std::uint64_t> offsets;
    offsets.push_back(bytes.size());
    bytes.insert(bytes.end(), {0xD1, 1, 2}); // the dictionary: key object 1, value object 2
    offsets.push_back(bytes.size());
    bytes.insert(bytes.end(), {0x55, 'i', 't', 'e', 'm', 's'});
    offsets.push_back(bytes.size());
    bytes.insert(bytes.end(), {0xAF, 0x12});
    putBigEndian(bytes, count, 4);
    bytes.insert(bytes.end(), count, 3);
    offsets.push_back(bytes.size());
    bytes.insert(bytes.end(), {0x51, 'x'});
    const std::uint64_t tableOffset = bytes.size();
    for (auto offset : offsets)
        putBigEndian(bytes, offset, 4);
    bytes.insert(bytes.end(), {0, 0, 0, 0, 0, 0, 4, 1});
    putBigEndian(bytes, offsets.size(), 8);
    putBigEndian(bytes, 0, 8);
    putBigEndian(bytes, tableOffset, 8);
    return bytes;
}

void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Far more than any of these runs needs; a host that hangs is killed and fails its test.
constexpr auto hangLimit = std::chrono::seconds(45);

using HostileBundleScenario = SettingsHostScenario;

TEST_F(HostileBundleScenario, AMainListOfSharedReferencesIsReadInOnePass) {
    // 200,000 references in a 200 KB file: read item by item from the start, this took minutes.
    writeBytes(m_root.hostPath(std::string(bundlePath) + "/Corvale.plist"), itemsOfOneSharedString(200'000));
    auto run = runHost({"dump"}, hangLimit);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto dumps = run.jsonLines();
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_FALSE(dumps[0]["sections"].empty()) << "the page opens; strings are not rows";
}

TEST_F(HostileBundleScenario, AMainListWithADictionaryOfTooManyKeysIsRefusedAtOnce) {
    // 600,000 keys: libplist looks each one up among those before it, which took half a minute.
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                      "<key>items</key><array><dict><key>cell</key><string>PSSwitchCell</string>"
                      "<key>label</key><string>Never shown</string></dict></array>";
    for (int index = 0; index < 600'000; ++index)
        xml += "<key>k" + std::to_string(index) + "</key><true/>";
    xml += "</dict></plist>";
    m_root.writeFile(std::string(bundlePath) + "/Corvale.plist", xml);
    auto run = runHost({"dump"}, hangLimit);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto dumps = run.jsonLines();
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_TRUE(dumpline::rowLabelled(dumps[0], "Never shown").is_null()) << "the list is not read";
}

TEST_F(HostileBundleScenario, HugeAvatarsAreDecodedAtTheSizeTheyAreShown) {
    // Ten credits whose pictures are 8192 x 1221, 40 MB each once decoded whole: a quarter of the
    // largest the decoder takes, so that the run stays short.
    const auto content = m_root.path() / "server";
    const auto picture = hostilepictures::flatGreyPng(8192, 1221);
    json credits = json::array();
    for (int index = 0; index < 10; ++index) {
        const std::string name = "wide-" + std::to_string(index) + ".png";
        writeBytes(content / "assets" / name, picture);
        credits.push_back({{"name", "Person " + std::to_string(index)},
                           {"position", "Wide"},
                           {"logo", {{"default", {{"url", name}}}}},
                           {"services", json::array()}});
    }
    std::filesystem::create_directories(content / "credits");
    std::ofstream(content / "credits" / "Corvale.json")
        << json{{"credits", credits}, {"links", json::array()}}.dump();
    corvale::devserver::DevServerOptions options;
    options.contentFolder = content;
    corvale::devserver::DevServer server(options);
    std::string problem;
    ASSERT_TRUE(server.start(0, &problem)) << problem;

    // Scrolled down to the credits, so that every credit's cell is made and fetches its picture.
    auto run = runHost({"--scale", "2", "--credits-server", server.baseURL(), "wait-credits", "scroll",
                        "3000", "wait-credits", "dump"},
                       hangLimit);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    auto dumps = run.jsonLines();
    ASSERT_FALSE(dumps.empty());
    int shown = 0;
    for (const auto& row : dumpline::rows(dumps.back())) {
        if (!row.contains("credit"))
            continue;
        ++shown;
        EXPECT_TRUE(row["credit"]["pictureSet"]) << row;
        // Covering the 58-point avatar at 2x: 116 pixels high, the width following the aspect.
        EXPECT_EQ(row["credit"]["picturePixels"], json::array({778, 116})) << row;
    }
    EXPECT_EQ(shown, 10);
    // Room for the sanitizers' own memory, still well below what whole pictures would take.
    EXPECT_LT(run.peakMemoryKilobytes, 300 * 1024) << "decoded whole, the pictures alone take 400 MB";
    // The cache keeps the server's bytes, not the smaller picture.
    const auto cached = m_root.hostPath(
        "/var/mobile/Library/Application Support/HalcyraMobileSupport/Preferences/Assets/wide-3.png");
    EXPECT_EQ(readBytes(cached), picture);
}

} // namespace
