// PNG encoding of the loaded picture (the BMP's pixels) through zlib. A
// library of its own (planora_png), so that the core needs only the standard
// library.
#pragma once

#include <cstdint>
#include <vector>

namespace planora {

class PictureContext;

// Throws RunTimeError when the picture cannot be encoded.
std::vector<uint8_t> EncodePng(const PictureContext& pic);

}  // namespace planora
