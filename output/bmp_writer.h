// Windows BMP output: uncompressed, 32 bits per pixel, bottom-up, a 54-byte
// header (14-byte file header, 40-byte information header) and no colour
// table. Every pixel is the ColourImage's RGB24 word written little-endian:
// blue, green, red, 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "output/safe_file.h"

namespace planora {

class PictureContext;
struct PictureView;

constexpr int32_t kBitmapHeaderBytes = 54;

// The file's length, 54 + 4 * BmpWidth * BmpHeight, after checking that it
// fits the format's 32-bit fields (Overflow) and that the sizes stay inside
// the picture arrays (Subscript out of range).
size_t BitmapFileSize(const PictureContext& pic, int32_t BmpWidth, int32_t BmpHeight);
std::array<uint8_t, kBitmapHeaderBytes> BitmapHeader(int32_t BmpWidth, int32_t BmpHeight);
// The pixel bytes of image rows fromRow down to toRow (fromRow >= toRow), in
// file order, pointing into the ColourImage (little-endian machines only: its
// words are then the file's bytes).
void AppendBitmapRows(const PictureContext& pic, int32_t fromRow, int32_t toRow, int32_t BmpWidth,
                      std::vector<FilePiece>& pieces);
// Where image row `row` starts in the file.
inline uint64_t BitmapRowOffset(int32_t row, int32_t BmpWidth, int32_t BmpHeight) {
    return kBitmapHeaderBytes + uint64_t(BmpHeight - row) * uint64_t(BmpWidth) * 4;
}

// The whole BMP file for image rows 1..BmpHeight, columns 0..BmpWidth-1 of the
// ColourImage. Empty when either size is below 1. Throws RunTimeError
// (Overflow) when 54 + 4 * BmpWidth * BmpHeight does not fit a 32-bit signed
// integer.
std::vector<uint8_t> BuildBitmapFile(const PictureContext& pic, int32_t BmpWidth, int32_t BmpHeight);

// The BMP of a picture's view (a picture made by scaling); the same checks.
std::vector<uint8_t> BuildBitmapFile(const PictureView& picture);

// Writes BuildBitmapFile to Filename, replacing an existing file atomically.
// Does nothing when either size is below 1. Throws RunTimeError.
void SaveArrayAsBitMap(const PictureContext& pic, const std::string& Filename, int32_t BmpWidth,
                       int32_t BmpHeight);

}  // namespace planora
