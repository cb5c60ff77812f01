// What a picture file says about its size and its display before any of its
// pixels are read, so that a program can refuse a picture too large for it
// at once: the BMHD's size and pixel aspect and the CAMG display mode of an
// ILBM and the forms read like it (the first frame of an ANIM), the DGBL or
// DLOC of a DEEP, the IHDR of an IMAG, and for a CAT or LIST its first
// picture.
#pragma once

#include <cstdint>
#include <optional>

#include "iff/byte_reader.h"

namespace planora {

struct PictureHeader {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t XAspect = 0;       // a pixel's width and height; 0 where not given
    int32_t YAspect = 0;
    uint32_t DisplayMode = 0;  // the CAMG; 0 without one
};

// The header of the picture a load of `file` gives; none when the file is
// not a picture or its header is missing. Throws RunTimeError (out of
// memory) when the FORM a CAT or LIST holds cannot be copied out.
std::optional<PictureHeader> ReadPictureHeader(ByteSpan file);

}  // namespace planora
