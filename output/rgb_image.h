// A picture as plain pixels (a thumbnail):
// rows top to bottom, no padding, R G B (and A) bytes per pixel.
#pragma once

#include <cstdint>
#include <vector>

namespace planora {

struct RgbImage {
    int32_t Width = 0;
    int32_t Height = 0;
    bool Alpha = false;          // 4 bytes per pixel when set, else 3
    std::vector<uint8_t> Pixels;

    int Channels() const { return Alpha ? 4 : 3; }
};

}  // namespace planora
