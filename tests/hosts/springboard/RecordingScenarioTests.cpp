// What `make run` draws: the presented follow alert as a PNG and as a GIF of the name cloud.
#include "tests/hosts/springboard/SpringBoardScenario.h"

#include <fstream>
#include <gif_lib.h>

namespace {

using RecordingScenario = SpringBoardScenario;

TEST_F(RecordingScenario, TheAlertIsDrawnAndItsCloudRecorded) {
    const auto gif = m_content / "cloud.gif";
    const auto png = m_content / "alert.png";
    auto run = runHost({"--os", "14.0", "--installed-schemes", "twitter", "launch", "wait-manifest", "unlock",
                        "record", gif.string(), "0.5", "render", png.string(), "dump"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;

    // 0.5 s at 20 images a second, cropped to the 270-point card with a 12-point margin at 2x.
    int status = 0;
    GifFileType* file = DGifOpenFileName(gif.c_str(), &status);
    ASSERT_NE(file, nullptr) << GifErrorString(status);
    ASSERT_EQ(DGifSlurp(file), GIF_OK);
    EXPECT_EQ(file->ImageCount, 10);
    EXPECT_EQ(file->SWidth, (270 + 24) * 2);
    // The frames differ: the names move and fade in.
    ASSERT_GE(file->ImageCount, 2);
    const auto& first = file->SavedImages[0];
    const auto& last = file->SavedImages[file->ImageCount - 1];
    const std::size_t pixels =
        static_cast<std::size_t>(file->SWidth) * static_cast<std::size_t>(file->SHeight);
    std::size_t differing = 0;
    for (std::size_t index = 0; index < pixels; ++index) {
        const auto& a = first.ImageDesc.ColorMap->Colors[first.RasterBits[index]];
        const auto& b = last.ImageDesc.ColorMap->Colors[last.RasterBits[index]];
        differing += a.Red != b.Red || a.Green != b.Green || a.Blue != b.Blue;
    }
    EXPECT_GT(differing, 100u);
    DGifCloseFile(file, &status);

    std::ifstream picture(png, std::ios::binary);
    char signature[8] = {};
    picture.read(signature, sizeof signature);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    // The host goes on with later steps after recording.
    EXPECT_EQ(run.dumps.size(), 1u);
}

} // namespace
