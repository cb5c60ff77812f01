// SHAM: per-line palettes of Sliced HAM pictures (also used by ordinary ones).
//
//   SHAM  <version:2 = 0> then, per palette line, 16 colour words 0x0RGB
//
// Palette line n replaces colours 0-15 for picture row n + 1, in normal and
// HAM6 pictures alike. An interlaced picture (CAMG bit 0x4) whose chunk holds
// fewer lines than the picture has rows uses one line for each pair of rows.
// Each 4-bit component becomes 8 bits by multiplying it by 17 (0xF -> 0xFF),
// as the Amiga's display does; CTBL's own rule (times 16) is left as it is.
#include "iff/line_tables.h"

namespace planora {

namespace {
constexpr int64_t kShamLineBytes = 32;
constexpr int64_t kShamVersionBytes = 2;
}  // namespace

LineTable ReadSham(ByteSpan data, int32_t length, int32_t rows, bool interlaced) {
    const ByteReader in(data);
    LineTable table(size_t(rows + 1) * kDynamicSlots, 0);
    const int64_t lines = length < kShamVersionBytes ? 0 : (int64_t{length} - kShamVersionBytes) / kShamLineBytes;
    const bool pairs = interlaced && lines < rows;
    for (int32_t row = 0; row < rows; ++row) {
        const int64_t line = pairs ? row / 2 : row;
        if (line >= lines) break;
        const int64_t start = kShamVersionBytes + line * kShamLineBytes;
        uint32_t* slots = &table[size_t(row) * kDynamicSlots];
        for (int c = 0; c < kLineColours; ++c) {
            const uint32_t word = in.WordAt(start + 2 * c) & 0x0FFFu;
            slots[c] = ((word >> 8) & 0xF) * 0x110000u + ((word >> 4) & 0xF) * 0x1100u + (word & 0xF) * 0x11u;
        }
    }
    return table;
}

}  // namespace planora
