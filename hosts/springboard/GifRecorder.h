#pragma once

#include <string>
#include <vector>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/CGGeometry.h"

namespace corvale::springboardhost {

// Collects rendered frames (cropped to one region, in pixels) and writes them as a looping GIF,
// each frame with its own 256-colour palette.
class GifRecorder {
public:
    GifRecorder(CGRect cropInPixels, int delayHundredths);

    // Frames smaller than the crop region are refused (false).
    bool addFrame(const platform::Bitmap& frame);
    std::size_t frameCount() const { return m_frames.size(); }
    bool write(const std::string& path, std::string* error) const;

private:
    struct Frame {
        std::vector<unsigned char> red, green, blue;
    };

    int m_x, m_y, m_width, m_height;
    int m_delay;
    std::vector<Frame> m_frames;
};

} // namespace corvale::springboardhost
