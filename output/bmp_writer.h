// Windows BMP output: uncompressed, 32 bits per pixel, bottom-up, a 54-byte
// header (14-byte file header, 40-byte information header) and no colour
// table. Every pixel is the ColourImage's RGB24 word written little-endian:
// blue, green, red, 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace planora {

class PictureContext;

// The whole BMP file for image rows 1..BmpHeight, columns 0..BmpWidth-1 of the
// ColourImage. Empty when either size is below 1. Throws RunTimeError
// (Overflow) when 54 + 4 * BmpWidth * BmpHeight does not fit a 32-bit signed
// integer.
std::vector<uint8_t> BuildBitmapFile(const PictureContext& pic, int32_t BmpWidth, int32_t BmpHeight);

// Writes BuildBitmapFile to Filename, replacing an existing file atomically.
// Does nothing when either size is below 1. Throws RunTimeError.
void SaveArrayAsBitMap(const PictureContext& pic, const std::string& Filename, int32_t BmpWidth,
                       int32_t BmpHeight);

}  // namespace planora
