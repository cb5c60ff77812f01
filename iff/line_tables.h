// Whole-line palettes: the chunks that give each picture line 16 colours of
// its own, which replace colours 0-15 for that row.
//
//   CTBL  16 words 0x0RGB per line (iff/line_palettes.cpp)
//   SHAM  a version word, then 16 words 0x0RGB per line (iff/sham_chunk.cpp)
//   BEAM  the same number of 0x0RGB words for every line (iff/line_palettes.cpp)
//   RAST  Atari ST raster entries, a line number and 16 colours each
//         (iff/line_palettes.cpp)
//
// Each reader takes the chunk's data as far as the file holds it (reads past
// it give zeros) and, where the count of lines follows from it, the length
// the chunk header claims.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "iff/byte_reader.h"
#include "iff/line_palette.h"

namespace planora {

// CTBL: each 4-bit component becomes the high nibble of its channel (times
// 16, 0xF -> 0xF0); lines past the picture's last are dropped.
LineTable ReadCtbl(ByteSpan data, int32_t length, int32_t rows);
// SHAM: each 4-bit component times 17 (0xF -> 0xFF). An interlaced picture
// whose chunk holds fewer lines than it has rows uses one line for each pair
// of rows.
LineTable ReadSham(ByteSpan data, int32_t length, int32_t rows, bool interlaced);
// BEAM: the chunk length / 2 / rows words a line, components times 16 as in
// a CTBL. Nothing when the chunk holds less than a word a line.
std::optional<LineTable> ReadBeam(ByteSpan data, int32_t length, int32_t rows);
// RAST: lines before the first entry keep `before`'s colours 0-15. Nothing
// when the file holds no whole entry.
std::optional<LineTable> ReadRast(ByteSpan data, int32_t rows, std::span<const uint32_t> before);

}  // namespace planora
