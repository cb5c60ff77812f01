// PNG encoding of a picture (the BMP's pixels) through zlib. A library of its
// own (planora_png), so that the core needs only the standard library.
#pragma once

#include <cstdint>
#include <vector>

#include "decode/picture_view.h"

namespace planora {

// Pictures that mark transparency get an alpha channel. Throws RunTimeError
// when the picture cannot be encoded.
std::vector<uint8_t> EncodePng(const PictureView& picture);

}  // namespace planora
