// The colour and mode chunks.
//
//   CMAP  3-byte entries R, G, B (8-bit components used as they are)
//   CAMG  one 32-bit Amiga display mode: 0x4 interlace, 0x80 Extra-Half-Brite,
//         0x800 hold-and-modify
//   CTBL  per-line palettes: 16 words 0x0RGB per picture line (32 bytes a
//         line), read by ReadCtbl (iff/line_palettes.cpp)
//
// Each handler starts with the cursor at the chunk's data; the walk moves the
// cursor on afterwards. Later chunks of a kind overwrite what earlier ones set.
#include <algorithm>

#include "iff/line_tables.h"
#include "iff/pchg.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
int16_t Bit_Test(int32_t numb, int BIT) {
    return (static_cast<uint32_t>(numb) & (uint32_t{1} << BIT)) != 0 ? 1 : 0;
}
constexpr int kHalfBriteColours = 32;
}  // namespace

void PictureContext::IFF_LOAD_PALLETTE(int32_t SectionSize) {
    // The entry count rounds: a remainder of 2 still makes an entry, whose
    // blue comes from the byte after the chunk data.
    const int64_t entries = SectionSize / 3 + (SectionSize % 3 == 2 ? 1 : 0);
    for (int64_t i = 0; i < entries && i < kPaletteEntries; ++i) {
        const uint32_t red = Iff_Read_Byte();
        const uint32_t green = Iff_Read_Byte();
        const uint32_t blue = Iff_Read_Byte();
        Palette[i] = FilePalette[i] = (red << 16) | (green << 8) | blue;
        HalfBritePalette[i] = ((red / 2) << 16) | ((green / 2) << 8) | (blue / 2);
    }
    if (IlbmInfo.HalfBriteFlag == 1) {
        for (int i = 0; i < kHalfBriteColours; ++i)
            Palette[kHalfBriteColours + i] = FilePalette[kHalfBriteColours + i] = HalfBritePalette[i];
    }
}

void PictureContext::iff_load_CAMG_DISPLAYMODE() {
    IlbmInfoRecord& info = IlbmInfo;
    info.ModeID = ConvertToLong(Iff_Read_Long());
    info.DisplayMode = 1;
    if (info.ModeID & 0x4) info.InterlaceFlag = 1;
    if (Bit_Test(info.ModeID, 7) == 1) {
        info.HalfBriteFlag = 1;
        for (int i = 0; i < kHalfBriteColours; ++i)
            Palette[kHalfBriteColours + i] = FilePalette[kHalfBriteColours + i] = HalfBritePalette[i];
    }
    if (Bit_Test(info.ModeID, 11) == 1) {
        info.HamFlag = 1;
        // With 5 or 7 planes the display reads the missing top plane as 0:
        // HAM5 is HAM6 with only the "palette" and "modify blue" controls,
        // HAM7 the same for HAM8, and the same tables map both.
        if (info.Bitplanes == 6 || info.Bitplanes == 5) {
            info.DisplayMode = 2;
            iff_create_HAMbitmask_tables();
        } else if (info.Bitplanes == 8 || info.Bitplanes == 7) {
            info.DisplayMode = 3;
            Iff_Create_HAM8bitmask_tables();
        }
    }
}

void PictureContext::Iff_Load_DYNAMIC_Pallettes(int32_t SectionSize) {
    // The lines are read as through the cursor, which stops at the largest
    // 32-bit index: a table that reaches past it is an overflow, not zeros.
    constexpr int64_t kCtblLineBytes = 32;
    const int64_t linesRead = std::min<int64_t>(SectionSize / kCtblLineBytes, int64_t{IlbmInfo.Height} + 1);
    if (linesRead > 0 && CachePos + linesRead * kCtblLineBytes > (int64_t{1} << 31)) {
        IlbmInfo.DynamicPaletteFlag = 1;
        throw RunTimeError(kOverflow);
    }
    TakeLineTable(ReadCtbl(ChunkDataAtCursor(SectionSize), SectionSize, IlbmInfo.Height));
}

// The other per-line palettes (SHAM, BEAM, RAST and PCHG) are read by free
// functions into values; the chunk walk hands them over here.
ByteSpan PictureContext::ChunkDataAtCursor(int64_t length) const { return ByteReader(FileBytes()).Slice(CachePos, length); }

void PictureContext::TakeLineTable(LineTable table) {
    IlbmInfo.DynamicPaletteFlag = 1;
    DynamicPalettes = std::move(table);
    LinePalettes.TakeWholeLines();
}

void PictureContext::TakePaletteChanges(std::optional<PaletteChangeList> changes) {
    if (changes) IlbmInfo.DynamicPaletteFlag = 1;
    LinePalettes.TakeChanges(std::move(changes));
}

RowColours PictureContext::LineColours(int16_t mode) const {
    return LinePalettes.Rows(mode, DynamicPalettes, IlbmInfo.HalfBriteFlag == 1);
}

}  // namespace planora
