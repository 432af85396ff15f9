#include "tests/support/HostilePictures.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

namespace hostilepictures {

namespace {

void appendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* output = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    output->insert(output->end(), data, data + length);
}

void flushNothing(png_structp) {}

// Every coefficient from Al 10 down to 0, DC first: the longest script libjpeg's encoder accepts.
std::vector<jpeg_scan_info> bitByBitScript() {
    constexpr int lowestBit = 10;
    std::vector<jpeg_scan_info> scans;
    for (int coefficient = 0; coefficient < DCTSIZE2; ++coefficient) {
        for (int bit = lowestBit; bit >= 0; --bit) {
            jpeg_scan_info scan{};
            scan.comps_in_scan = 1;
            scan.component_index[0] = 0;
            scan.Ss = coefficient;
            scan.Se = coefficient;
            scan.Ah = bit == lowestBit ? 0 : bit + 1;
            scan.Al = bit;
            scans.push_back(scan);
        }
    }
    return scans;
}

} // namespace

std::vector<std::uint8_t> flatGreyPng(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> output;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &output, appendToVector, flushNothing);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(width, 0x80);
    for (std::uint32_t y = 0; y < height; ++y)
        png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return output;
}

std::vector<std::uint8_t> manyScanGreyJpeg(std::uint32_t width, std::uint32_t height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    const auto script = bitByBitScript();
    info.scan_info = script.data();
    info.num_scans = static_cast<int>(script.size());
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(width);
    std::uint32_t noise = 12345;
    while (info.next_scanline < info.image_height) {
        for (auto& sample : row) {
            noise = noise * 1103515245u + 12345u;
            sample = static_cast<JSAMPLE>(noise >> 24);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<std::uint8_t> output(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return output;
}

int scanCount(const std::vector<std::uint8_t>& jpeg) {
    // Markers inside entropy-coded data are stuffed (0xFF 0x00), so a 0xFF 0xDA pair there is a
    // real start of scan; the other segments of these files hold no such pair.
    int scans = 0;
    for (std::size_t index = 0; index + 1 < jpeg.size(); ++index)
        scans += jpeg[index] == 0xFF && jpeg[index + 1] == 0xDA;
    return scans;
}

} // namespace hostilepictures
