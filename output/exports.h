// The raw and palette exports.
//
// Raw 32-bit RGB: the whole ColourImage, (Width + 1) x (Height + 1) RGB24
// words little-endian, row 0 first, no header. Raw 8-bit chunky: the whole
// ChunkyImage in the same order, one byte per element. Palette text: one line
// "$rrggbb" + CR LF per colour index 0 .. 2^Bitplanes - 1 of FilePalette.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace planora {

class PictureContext;

// Deep (true-colour) pictures have no palette indices: the raw 8-bit chunky
// and palette text exports refuse them with this text and write no file.
bool HasPaletteIndices(const PictureContext& pic);
inline constexpr const char* kNoPaletteIndicesText =
    "true-colour picture: it has no palette indices, so no chunky or palette file is written";

std::vector<uint8_t> BuildRawRgbFile(const PictureContext& pic);
std::vector<uint8_t> BuildRawChunkyFile(const PictureContext& pic);
std::vector<uint8_t> BuildPaletteTextFile(const PictureContext& pic);

// Each writes its file, replacing an existing one atomically. Throw
// RunTimeError.
void ExportRawRgb(const PictureContext& pic, const std::string& path);
void ExportRawChunky(const PictureContext& pic, const std::string& path);
void ExportPaletteText(const PictureContext& pic, const std::string& path);

}  // namespace planora
