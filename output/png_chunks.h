// The PNG file structure, for the still and the animated PNG writers:
//
//   signature  89 50 4E 47 0D 0A 1A 0A
//   chunks     a big-endian length, the 4-character type, the data, and the
//              CRC-32 of type and data
//   IHDR data  width, height, bit depth 8, colour type, deflate, adaptive
//              filtering, no interlace
// and the zlib stream that IDAT and fdAT chunks carry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace planora {

constexpr uint8_t kPngColourRgb = 2;
constexpr uint8_t kPngColourRgba = 6;

std::vector<uint8_t> PngSignature();
void PutPngLong(std::vector<uint8_t>& out, uint32_t value);
void PutPngWord(std::vector<uint8_t>& out, uint32_t value);
void PutPngChunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, size_t size);
inline void PutPngChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutPngChunk(out, type, data.data(), data.size());
}
std::vector<uint8_t> PngHeaderData(int32_t width, int32_t height, uint8_t colourType);

// The zlib stream of `rows` at zlib's compression `level`; throws
// RunTimeError (Out of memory) when zlib fails.
std::vector<uint8_t> DeflateRows(const std::vector<uint8_t>& rows, int level);

}  // namespace planora
