// BEAM and RAST: per-line palettes besides CTBL, SHAM and PCHG.
//
//   BEAM  for every picture line, the same number of colour words 0x0RGB
//         (the chunk length / 2 / Height of them); each 4-bit component
//         widens by 16 as in a CTBL
//   RAST  Atari ST raster palettes: entries of 34 bytes, a line number word
//         (0 = top line) and 16 ST colour words; an entry's colours hold from
//         its line down to the next entry's line. An ST word has 3 bits per
//         component in each nibble and the STE's extra, least significant bit
//         in the nibble's top bit; the 4-bit value widens by 16 as in a CTBL
//
// Both go into DynamicPalettes, 16 colours a line, as a CTBL does, and share
// its rules: the last CTBL, SHAM, BEAM or RAST chunk of the file gives the
// line colours, and with any of them a PCHG chunk is left unused. Lines
// before a RAST's first entry keep the colours of the CMAP as read so far.
#include <algorithm>
#include <vector>

#include "iff/picture_context.h"

namespace planora {

namespace {
constexpr int kColoursPerLine = 16;
constexpr int kRasterEntryBytes = 34;

uint32_t SteComponent(uint32_t nibble) { return (((nibble & 7) << 1) | (nibble >> 3)) << 4; }
}  // namespace

void PictureContext::LoadBeamPalettes(int32_t SectionSize) {
    const int32_t lines = IlbmInfo.Height;
    if (lines < 1 || SectionSize < 2 * lines) return;
    IlbmInfo.DynamicPaletteFlag = 1;
    PaletteChanges.LineTablesRead = true;
    DynamicPalettes.assign(size_t(lines + 1) * kDynamicSlots, 0);
    const int64_t wordsPerLine = SectionSize / 2 / lines;
    const int64_t start = CachePos;
    for (int32_t line = 0; line < lines; ++line) {
        CachePos = start + int64_t{line} * wordsPerLine * 2;
        uint32_t* slots = &DynamicPalettes[size_t(line) * kDynamicSlots];
        for (int64_t c = 0; c < std::min<int64_t>(wordsPerLine, kColoursPerLine); ++c) {
            const uint32_t high = Iff_Read_Byte() & 0x0Fu;
            const uint32_t low = Iff_Read_Byte();
            slots[c] = high * 0x100000u + (low / 16) * 0x1000u + (low % 16) * 0x10u;
        }
    }
}

void PictureContext::LoadRasterPalettes(int32_t SectionSize) {
    const int32_t lines = IlbmInfo.Height;
    // Entries the chunk claims past the end of the file would all read as
    // zeros; they are not kept.
    const int64_t held = std::min<int64_t>(SectionSize, int64_t(CachedLength()) - CachePos);
    const int64_t entries = std::max<int64_t>(held, 0) / kRasterEntryBytes;
    if (lines < 1 || entries < 1) return;
    IlbmInfo.DynamicPaletteFlag = 1;
    PaletteChanges.LineTablesRead = true;
    DynamicPalettes.assign(size_t(lines + 1) * kDynamicSlots, 0);
    for (int32_t line = 0; line < lines; ++line)
        std::copy_n(FilePalette.begin(), kColoursPerLine, &DynamicPalettes[size_t(line) * kDynamicSlots]);
    // A line takes the entry with the nearest line number at or above it; of
    // entries for the same line, the last in the file.
    std::vector<int64_t> startsHere(size_t(lines), -1);
    std::vector<uint32_t> colours;
    for (int64_t e = 0; e < entries; ++e) {
        const int32_t from = Iff_Read_Word() & 0xFFFF;
        for (int c = 0; c < kColoursPerLine; ++c) {
            const uint32_t word = uint32_t(Iff_Read_Word()) & 0xFFFF;
            colours.push_back((SteComponent((word >> 8) & 0xF) << 16) | (SteComponent((word >> 4) & 0xF) << 8) |
                              SteComponent(word & 0xF));
        }
        if (from < lines) startsHere[size_t(from)] = e;
    }
    int64_t current = -1;
    for (int32_t line = 0; line < lines; ++line) {
        if (startsHere[size_t(line)] >= 0) current = startsHere[size_t(line)];
        if (current >= 0)
            std::copy_n(&colours[size_t(current) * kColoursPerLine], kColoursPerLine,
                        &DynamicPalettes[size_t(line) * kDynamicSlots]);
    }
}

}  // namespace planora
