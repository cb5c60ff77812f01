// The context's handlers of the per-line palette chunks SHAM, BEAM, RAST and
// PCHG (CTBL's is Iff_Load_DYNAMIC_Pallettes, with the colour chunks). Each
// reads the chunk at the cursor into a value; a whole-line table goes to
// DynamicPalettes, and LinePalettes records which kind the rows now take.
#include "iff/line_tables.h"
#include "iff/pchg.h"
#include "iff/picture_context.h"

namespace planora {

ByteSpan PictureContext::ChunkDataAtCursor(int64_t length) const {
    return ByteReader(FileCache.data(), CachedLength()).Slice(CachePos, length);
}

void PictureContext::TakeLineTable(LineTable table) {
    IlbmInfo.DynamicPaletteFlag = 1;
    DynamicPalettes = std::move(table);
    LinePalettes.TakeWholeLines();
}

void PictureContext::LoadShamPalettes(int32_t SectionSize) {
    TakeLineTable(ReadSham(ChunkDataAtCursor(SectionSize), SectionSize, IlbmInfo.Height, IlbmInfo.InterlaceFlag == 1));
}

void PictureContext::LoadBeamPalettes(int32_t SectionSize) {
    if (auto table = ReadBeam(ChunkDataAtCursor(SectionSize), SectionSize, IlbmInfo.Height)) TakeLineTable(std::move(*table));
}

void PictureContext::LoadRasterPalettes(int32_t SectionSize) {
    // Lines before the first entry keep the colours of the CMAP as read so far.
    if (auto table = ReadRast(ChunkDataAtCursor(SectionSize), IlbmInfo.Height, FilePalette))
        TakeLineTable(std::move(*table));
}

void PictureContext::LoadPaletteChanges(uint32_t length) {
    std::optional<PaletteChangeList> changes = ReadPaletteChanges(ChunkDataAtCursor(length), IlbmInfo.Height);
    if (changes) IlbmInfo.DynamicPaletteFlag = 1;
    LinePalettes.TakeChanges(std::move(changes));
}

RowColours PictureContext::LineColours(int16_t mode) const {
    return LinePalettes.Rows(mode, DynamicPalettes, IlbmInfo.HalfBriteFlag == 1);
}

}  // namespace planora
