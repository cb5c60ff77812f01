// Palette mapping: turns the palette indices of one ColourImage row into RGB24
// colours, in place.
//
//   mode 1  ordinary and Extra-Half-Brite pictures: colour = Palette(index)
//   mode 2  HAM6: indices 0-15 are base colours; above, the top two bits say
//           which component of the colour to the left changes (1 blue, 2 red,
//           3 green) and the low four bits give its new value, both nibbles
//   mode 3  HAM8: indices 0-63 are base colours; above, the low six bits are
//           the top six bits of the new component, its two low bits kept
// HAM5 and HAM7 pictures use modes 2 and 3: their indices never reach the
// controls that need the missing top plane.
// With a whole-line palette (CTBL, SHAM, BEAM, RAST), modes 1 and 2 take
// colours 0-15 from the row's own line; with a PCHG, every mode takes its
// colours from the palette as changed down to the row (iff/line_palette.h).
// A picture without a CAMG chunk is mapped as mode 1 after the chunk walk.
#include <algorithm>
#include <array>

#include "decode/row_sharing.h"
#include "iff/picture_context.h"

namespace planora {

namespace {
enum HamControlCode : uint32_t { kBase = 0, kModifyBlue = 1, kModifyRed = 2, kModifyGreen = 3 };
}  // namespace

void PictureContext::iff_create_HAMbitmask_tables() {
    for (uint32_t i = 0; i < 64; ++i) {
        const uint32_t c = i / 16, v = i - 16 * c;
        HamControl[i] = c;
        HamBlue[i] = v * 17;
        HamGreen[i] = v * 4352;
        HamRed[i] = v * 1114112;
    }
}

void PictureContext::Iff_Create_HAM8bitmask_tables() {
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t c = i / 64, v = i - 64 * c;
        HamControl[i] = c;
        HamBlue[i] = v * 4;
        HamGreen[i] = v * 1024;
        HamRed[i] = v * 262144;
    }
}

void PictureContext::Iff_PalleteMap_ScanLine() {
    const int32_t row = CurrentRow;
    uint32_t* pixels = &ColourImage[size_t(row) * size_t(imageStride_)];
    const int16_t mode = IlbmInfo.DisplayMode == 0 ? 1 : IlbmInfo.DisplayMode;

    const uint32_t* palette = Palette.data();
    const RowColours lines = LineColours(mode);
    switch (lines.Kind()) {
    case RowColours::Rule::Palette: break;
    case RowColours::Rule::WholeLines:
        // Into the working palette itself, which keeps the last row's line
        // after the load.
        lines.ToRow(row, Palette.data());
        break;
    case RowColours::Rule::Changes:
        // Into a copy, so that Palette keeps the colours the changes start from.
        if (row == 1) rowColours_ = Palette;
        lines.ToRow(row, rowColours_.data());
        palette = rowColours_.data();
        break;
    }

    MapRowColours(pixels, mode, palette);
}

ColourMapping PictureContext::MakeColourMapping(int16_t mode, const uint32_t* palette) const {
    ColourMapping mapping;
    mapping.Mode = mode;
    mapping.Palette = palette;
    if (mode == 1) return mapping;
    // Every HAM step is colour = (held & keep) + add: a base colour keeps
    // nothing of the colour to the left, a modify step keeps the other two
    // components. One table lookup per pixel then replaces the branches on
    // the kind of step, which noisy pictures make unpredictable.
    const uint32_t lastBase = mode == 2 ? 15 : 63;
    const uint32_t keepForBlue = mode == 2 ? 0xFFFF00 : 0xFFFF03;
    const uint32_t keepForGreen = mode == 2 ? 0xFF00FF : 0xFF03FF;
    const uint32_t keepForRed = mode == 2 ? 0x00FFFF : 0x03FFFF;
    for (uint32_t p = 0; p < 256; ++p) {
        uint32_t keep = 0, add = palette[p];
        if (p > lastBase) {
            switch (HamControl[p]) {
            case kModifyBlue: keep = keepForBlue, add = HamBlue[p]; break;
            case kModifyGreen: keep = keepForGreen, add = HamGreen[p]; break;
            case kModifyRed: keep = keepForRed, add = HamRed[p]; break;
            default: break;
            }
        }
        mapping.Keep[p] = keep;
        mapping.Add[p] = add;
    }
    return mapping;
}

namespace {
// Maps indices[0..lastColumn] into colours; both may be the same row.
template <typename Index>
void MapIndices(const Index* indices, uint32_t* colours, int32_t lastColumn,
                const ColourMapping& mapping) {
    // Indices are 8-bit; the mask keeps every lookup inside its table.
    if (mapping.Mode == 1) {
        const uint32_t* palette = mapping.Palette;
        for (int32_t x = 0; x <= lastColumn; ++x) colours[x] = palette[indices[x] & 0xFF];
        return;
    }
    uint32_t held = mapping.Palette[0];
    for (int32_t x = 0; x <= lastColumn; ++x) {
        const uint32_t p = indices[x] & 0xFF;
        held = (held & mapping.Keep[p]) + mapping.Add[p];
        colours[x] = held;
    }
}
}  // namespace

void PictureContext::MapRowColours(uint32_t* pixels, int16_t mode, const uint32_t* palette) const {
    MapRowColours(pixels, MakeColourMapping(mode, palette));
}

void PictureContext::MapRowColours(uint32_t* pixels, const ColourMapping& mapping) const {
    MapIndices(pixels, pixels, IlbmInfo.Width, mapping);
}

void PictureContext::MapChunkyRow(const uint8_t* indices, uint32_t* colours, const ColourMapping& mapping) const {
    MapIndices(indices, colours, IlbmInfo.Width, mapping);
}

void PictureContext::Iff_PalleteMap_Image() {
    // Deep pictures hold colours, not indices.
    if (IlbmInfo.MapAfterLoad == 0 || IsDeepPicture()) return;
    BeforeRowsChange();
    if (MapImageInParallel()) return;
    for (CurrentRow = 1; CurrentRow <= IlbmInfo.Height; ++CurrentRow) Iff_PalleteMap_ScanLine();
}

// The picture's indices mapped again with another base palette, for colour
// cycling and the frames made from it; the line palettes apply on top.
void PictureContext::MapPictureWithPalette(const ColourTable& palette, uint32_t* out) {
    const int16_t mode = IlbmInfo.DisplayMode == 0 ? 1 : IlbmInfo.DisplayMode;
    const RowColours lines = LineColours(mode);
    const size_t stride = size_t(imageStride_);
    const ColourMapping whole = MakeColourMapping(mode, palette.data());
    const int32_t rows = std::min<int32_t>(IlbmInfo.Height, imageRows_ - 1);
    if (lines.Kind() == RowColours::Rule::Changes) {
        // Changes build on the row above, from the palette given at row 1.
        ColourTable colours = palette;
        for (int32_t row = 1; row <= rows; ++row) {
            lines.ToRow(row, colours.data());
            MapChunkyRow(&ChunkyImage[size_t(row) * stride], out + size_t(row) * stride,
                         MakeColourMapping(mode, colours.data()));
        }
        return;
    }
    // Rows do not depend on each other: large pictures are mapped on two threads.
    ForEachRow(rows, int64_t{rows} * IlbmInfo.Width, [&](int32_t row) {
        const uint8_t* indices = &ChunkyImage[size_t(row) * stride];
        uint32_t* colours = out + size_t(row) * stride;
        if (lines.SameForEveryRow()) {
            MapChunkyRow(indices, colours, whole);
        } else {
            ColourTable rowPalette = palette;
            lines.ToRow(row, rowPalette.data());
            MapChunkyRow(indices, colours, MakeColourMapping(mode, rowPalette.data()));
        }
    });
}

}  // namespace planora
