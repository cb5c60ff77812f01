// SHAM: per-line palettes of Sliced HAM pictures (also used by ordinary ones).
//
//   SHAM  <version:2 = 0> then, per palette line, 16 colour words 0x0RGB
//
// Palette line n replaces colours 0-15 for picture row n + 1, in normal and
// HAM6 pictures alike. An interlaced picture (CAMG bit 0x4) whose chunk holds
// fewer lines than the picture has rows uses one line for each pair of rows.
// Each 4-bit component becomes 8 bits by multiplying it by 17 (0xF -> 0xFF),
// as the Amiga's display does; CTBL's own rule (times 16) is left as it is.
// The lines go to DynamicPalettes, which the mapping already reads.
#include "iff/picture_context.h"

namespace planora {

namespace {
constexpr int kColoursPerShamLine = 16;
constexpr int kShamLineBytes = 32;
constexpr int kShamVersionBytes = 2;
}  // namespace

void PictureContext::LoadShamPalettes(int32_t SectionSize) {
    IlbmInfo.DynamicPaletteFlag = 1;
    PaletteChanges.LineTablesRead = true;
    const int32_t height = IlbmInfo.Height;
    DynamicPalettes.assign(size_t(height + 1) * kDynamicSlots, 0);
    const int64_t lines = SectionSize < kShamVersionBytes ? 0 : (int64_t{SectionSize} - kShamVersionBytes) / kShamLineBytes;
    const bool pairs = IlbmInfo.InterlaceFlag == 1 && lines < height;
    const int64_t dataStart = CachePos + kShamVersionBytes;

    for (int32_t row = 0; row < height; ++row) {
        const int64_t line = pairs ? row / 2 : row;
        if (line >= lines) break;
        CachePos = dataStart + line * kShamLineBytes;
        uint32_t* slots = &DynamicPalettes[size_t(row) * kDynamicSlots];
        for (int c = 0; c < kColoursPerShamLine; ++c) {
            const uint32_t word = uint32_t(Iff_Read_Word()) & 0x0FFFu;
            slots[c] = ((word >> 8) & 0xF) * 0x110000u + ((word >> 4) & 0xF) * 0x1100u + (word & 0xF) * 0x11u;
        }
    }
}

}  // namespace planora
