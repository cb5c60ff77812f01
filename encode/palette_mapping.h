// Every pixel of a picture to an entry of a colour map, plainly (nearest by
// squared RGB error), by error diffusion (Floyd-Steinberg, serpentine rows)
// or by an ordered 8 x 8 Bayer pattern mixing the two entries on either side
// of each colour in the proportion that gives it on average.
#pragma once

#include <vector>

#include "encode/indexed_picture.h"

namespace planora::encode {

// With extraHalves, the map also holds each entry at half brightness after
// the given ones (index + palette.size()), as Extra-Half-Brite shows it.
std::vector<uint8_t> MapToPalette(const TrueColourPicture& picture, const std::vector<Rgb>& palette, Dither dither,
                                  bool extraHalves = false);

// A colour at half brightness, as Extra-Half-Brite displays show it.
inline Rgb HalfBrite(Rgb c) { return {uint8_t(c.R / 2), uint8_t(c.G / 2), uint8_t(c.B / 2)}; }

// The 8 x 8 Bayer threshold at (x, y), centred on zero: -0.5 .. 0.5.
float OrderedThreshold(int32_t x, int32_t y);

}  // namespace planora::encode
