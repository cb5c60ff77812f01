// A picture as plain pixels for the writers and loaders outside the core:
// rows top to bottom, no padding, R G B (and A) bytes per pixel.
#pragma once

#include <cstdint>
#include <vector>

namespace planora {

class PictureContext;

struct RgbImage {
    int32_t Width = 0;
    int32_t Height = 0;
    bool Alpha = false;          // 4 bytes per pixel when set, else 3
    std::vector<uint8_t> Pixels;

    int Channels() const { return Alpha ? 4 : 3; }
};

// The loaded picture's pixels, with alpha when the picture marks transparency.
RgbImage PictureToRgb(const PictureContext& pic);

}  // namespace planora
