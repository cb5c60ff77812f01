// PNG encoding of the loaded picture (the BMP's pixels) through zlib. A
// library of its own (planora_png), so that the core needs only the standard
// library.
#pragma once

#include <cstdint>
#include <vector>

#include "output/rgb_image.h"

namespace planora {

// Throws RunTimeError when the picture cannot be encoded.
std::vector<uint8_t> EncodePng(const PictureContext& pic);
std::vector<uint8_t> EncodePng(const RgbImage& image);

}  // namespace planora
