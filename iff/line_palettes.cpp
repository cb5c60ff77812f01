// CTBL, BEAM and RAST: whole-line palettes whose 4-bit components widen by 16.
//
//   CTBL  16 colour words 0x0RGB per picture line (32 bytes a line)
//   BEAM  for every picture line, the same number of colour words 0x0RGB
//         (the chunk length / 2 / Height of them)
//   RAST  Atari ST raster palettes: entries of 34 bytes, a line number word
//         (0 = top line) and 16 ST colour words; an entry's colours hold from
//         its line down to the next entry's line. An ST word has 3 bits per
//         component in each nibble and the STE's extra, least significant bit
//         in the nibble's top bit
//
// Each 4-bit component becomes the high nibble of its channel (0xF -> 0xF0),
// the rule CTBL files have always been read by. The top nibble of a 0x0RGB
// word is unused and ignored, so a colour never spills above its 24 bits.
#include <algorithm>
#include <vector>

#include "iff/line_tables.h"

namespace planora {

namespace {
constexpr int64_t kCtblLineBytes = 32;
constexpr int64_t kRasterEntryBytes = 34;

uint32_t WidenBy16(uint32_t word) {
    return ((word >> 8) & 0xF) * 0x100000u + ((word >> 4) & 0xF) * 0x1000u + (word & 0xF) * 0x10u;
}
uint32_t SteComponent(uint32_t nibble) { return (((nibble & 7) << 1) | (nibble >> 3)) << 4; }
}  // namespace

LineTable ReadCtbl(ByteSpan data, int32_t length, int32_t rows) {
    const ByteReader in(data);
    LineTable table(size_t(rows + 1) * kDynamicSlots, 0);
    const int64_t lines = length / kCtblLineBytes;
    // Lines past the picture's last have nowhere to go.
    for (int64_t line = 0; line < lines && line <= rows; ++line) {
        uint32_t* slots = &table[size_t(line) * kDynamicSlots];
        for (int c = 0; c < kLineColours; ++c) slots[c] = WidenBy16(in.WordAt(line * kCtblLineBytes + 2 * c));
    }
    return table;
}

std::optional<LineTable> ReadBeam(ByteSpan data, int32_t length, int32_t rows) {
    if (rows < 1 || length < 2 * rows) return std::nullopt;
    const ByteReader in(data);
    LineTable table(size_t(rows + 1) * kDynamicSlots, 0);
    const int64_t wordsPerLine = length / 2 / rows;
    for (int32_t line = 0; line < rows; ++line) {
        uint32_t* slots = &table[size_t(line) * kDynamicSlots];
        const int64_t start = int64_t{line} * wordsPerLine * 2;
        for (int64_t c = 0; c < std::min<int64_t>(wordsPerLine, kLineColours); ++c)
            slots[c] = WidenBy16(in.WordAt(start + 2 * c));
    }
    return table;
}

std::optional<LineTable> ReadRast(ByteSpan data, int32_t rows, std::span<const uint32_t> before) {
    // Entries the chunk claims past the end of the file would all read as
    // zeros; they are not kept.
    const int64_t entries = int64_t(data.size()) / kRasterEntryBytes;
    if (rows < 1 || entries < 1) return std::nullopt;
    LineTable table(size_t(rows + 1) * kDynamicSlots, 0);
    for (int32_t line = 0; line < rows; ++line)
        std::copy_n(before.begin(), kLineColours, &table[size_t(line) * kDynamicSlots]);
    // A line takes the entry with the nearest line number at or above it; of
    // entries for the same line, the last in the file.
    ByteReader in(data);
    std::vector<int64_t> startsHere(size_t(rows), -1);
    std::vector<uint32_t> colours;
    for (int64_t e = 0; e < entries; ++e) {
        const uint32_t from = in.Word();
        for (int c = 0; c < kLineColours; ++c) {
            const uint32_t word = in.Word();
            colours.push_back((SteComponent((word >> 8) & 0xF) << 16) | (SteComponent((word >> 4) & 0xF) << 8) |
                              SteComponent(word & 0xF));
        }
        if (from < uint32_t(rows)) startsHere[from] = e;
    }
    int64_t current = -1;
    for (int32_t line = 0; line < rows; ++line) {
        if (startsHere[size_t(line)] >= 0) current = startsHere[size_t(line)];
        if (current >= 0)
            std::copy_n(&colours[size_t(current) * kLineColours], kLineColours, &table[size_t(line) * kDynamicSlots]);
    }
    return table;
}

}  // namespace planora
