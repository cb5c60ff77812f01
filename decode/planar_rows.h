// Planar-to-chunky conversion of one row, eight pixels per 64-bit word.
//
// A plane byte b holds one bit of eight neighbouring pixels, bit 7 the
// leftmost. Spread(b) puts bit 7 - i of b into bit 0 of byte i of a 64-bit
// word, so Spread(b) << p places plane p's bits of all eight pixels at once;
// OR-ing the planes gives the eight indices as the word's bytes, leftmost
// pixel in the lowest byte.
#pragma once

#include <cstddef>
#include <cstdint>

namespace planora {

// planeRows: plane p's row starts at planeRows + p * planeStride and holds
// ceil(width / 8) bytes (or more). Writes width indices to chunky and the same
// values widened to colours, unless colours is null. planes is 1..8.
void ConvertPlaneRows(const uint8_t* planeRows, size_t planeStride, int32_t planes, int32_t width,
                      uint8_t* chunky, uint32_t* colours);

}  // namespace planora
