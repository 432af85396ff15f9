#include "hosts/springboard/GifRecorder.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gif_lib.h>

namespace corvale::springboardhost {

namespace {

constexpr int paletteSize = 256;

// Closes the file on every path out of write().
struct GifFile {
    GifFileType* file = nullptr;
    ~GifFile() {
        if (file)
            EGifCloseFile(file, nullptr);
    }
};

bool putLoopExtension(GifFileType* file) {
    static const GifByteType application[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType loopForever[] = {1, 0, 0};
    return EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(file, sizeof application, application) == GIF_OK &&
           EGifPutExtensionBlock(file, sizeof loopForever, loopForever) == GIF_OK &&
           EGifPutExtensionTrailer(file) == GIF_OK;
}

bool putDelay(GifFileType* file, int delay) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = delay;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const std::size_t length = EGifGCBToExtension(&control, extension);
    return EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) == GIF_OK;
}

} // namespace

GifRecorder::GifRecorder(CGRect crop, int delayHundredths)
    : m_x(static_cast<int>(std::lround(crop.origin.x))), m_y(static_cast<int>(std::lround(crop.origin.y))),
      m_width(std::max(1, static_cast<int>(std::lround(crop.size.width)))),
      m_height(std::max(1, static_cast<int>(std::lround(crop.size.height)))), m_delay(delayHundredths) {}

bool GifRecorder::addFrame(const platform::Bitmap& bitmap) {
    if (m_x < 0 || m_y < 0 || static_cast<std::int64_t>(m_x) + m_width > bitmap.width() ||
        static_cast<std::int64_t>(m_y) + m_height > bitmap.height())
        return false;
    Frame frame;
    const std::size_t count = static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height);
    frame.red.reserve(count);
    frame.green.reserve(count);
    frame.blue.reserve(count);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            // Composited over white, as the GIF has no partial transparency.
            const auto pixel =
                bitmap.pixelAt(static_cast<std::uint32_t>(m_x + x), static_cast<std::uint32_t>(m_y + y));
            auto over = [&](std::uint8_t channel) {
                return static_cast<unsigned char>((channel * pixel.a + 255 * (255 - pixel.a)) / 255);
            };
            frame.red.push_back(over(pixel.r));
            frame.green.push_back(over(pixel.g));
            frame.blue.push_back(over(pixel.b));
        }
    m_frames.push_back(std::move(frame));
    return true;
}

bool GifRecorder::write(const std::string& path, std::string* error) const {
    auto fail = [error](const std::string& message) {
        if (error)
            *error = message;
        return false;
    };
    if (m_frames.empty())
        return fail("no frames to write");
    int status = 0;
    GifFile gif{EGifOpenFileName(path.c_str(), false, &status)};
    if (!gif.file)
        return fail(std::string("cannot create the file: ") + GifErrorString(status));
    EGifSetGifVersion(gif.file, true);
    if (EGifPutScreenDesc(gif.file, m_width, m_height, 8, 0, nullptr) != GIF_OK ||
        !putLoopExtension(gif.file))
        return fail(GifErrorString(gif.file->Error));
    const std::size_t count = static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height);
    std::vector<GifByteType> indices(count);
    std::vector<GifColorType> palette(paletteSize);
    for (const auto& recorded : m_frames) {
        Frame frame = recorded; // the quantizer takes writable planes
        int colours = paletteSize;
        if (GifQuantizeBuffer(static_cast<unsigned>(m_width), static_cast<unsigned>(m_height), &colours,
                              frame.red.data(), frame.green.data(), frame.blue.data(), indices.data(),
                              palette.data()) != GIF_OK)
            return fail("cannot reduce a frame to 256 colours");
        ColorMapObject* colourMap = GifMakeMapObject(paletteSize, palette.data());
        const bool written = colourMap && putDelay(gif.file, m_delay) &&
                             EGifPutImageDesc(gif.file, 0, 0, m_width, m_height, false, colourMap) == GIF_OK;
        GifFreeMapObject(colourMap);
        if (!written)
            return fail(GifErrorString(gif.file->Error));
        for (int row = 0; row < m_height; ++row)
            if (EGifPutLine(gif.file, indices.data() + static_cast<std::size_t>(row) * m_width, m_width) !=
                GIF_OK)
                return fail(GifErrorString(gif.file->Error));
    }
    int closeStatus = 0;
    const bool closed = EGifCloseFile(gif.file, &closeStatus) == GIF_OK;
    gif.file = nullptr;
    // giflib creates the file readable by its owner only; a picture for people to open is not private.
    std::error_code ignored;
    std::filesystem::permissions(path,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_read | std::filesystem::perms::others_read,
                                 ignored);
    return closed || fail(std::string("cannot finish the file: ") + GifErrorString(closeStatus));
}

} // namespace corvale::springboardhost
