// Planar-to-chunky conversion of one image row.
//
// Plane p holds bit p of every pixel's index; bit 7 of a plane byte is the
// leftmost of its eight pixels. Four tables split a plane byte into pairs of
// pixels: table k puts the bit of pixel 2k at 256 and that of pixel 2k + 1 at
// 1. Starting from the highest plane and doubling the accumulators for each
// lower plane leaves the index of pixel 2k in the high byte and that of pixel
// 2k + 1 in the low byte, so four lookups per plane byte place eight pixels.
// The tables describe the conversion; the row itself is converted by
// ConvertPlaneRows (planar_rows.h), which does the same with one 64-bit word
// per eight pixels.
#include <algorithm>
#include <cstring>

#include "decode/deep_body.h"
#include "decode/planar_rows.h"
#include "iff/picture_context.h"

namespace planora {

void PictureContext::Iff_Create_P2C_Word_Table() {
    std::array<uint16_t, 257>* tables[4] = {&P2C_Word_Table0, &P2C_Word_Table1, &P2C_Word_Table2,
                                            &P2C_Word_Table3};
    for (int k = 0; k < 4; ++k) {
        auto& table = *tables[k];
        table.fill(0);
        for (int b = 0; b < 256; ++b) {
            const int left = (b >> (7 - 2 * k)) & 1;
            const int right = (b >> (6 - 2 * k)) & 1;
            table[b] = static_cast<uint16_t>(left * 256 + right);
        }
    }
}

void PictureContext::Iff_P2C_Strip(int32_t row) {
    if (IsDeepPicture()) {
        // True colour: ColourImage takes RGB24 and ChunkyImage stays 0.
        const int32_t planes = IlbmInfo.Bitplanes;
        const bool alpha = DeepRowsHoldAlpha(planes);
        if (alpha && AlphaImage.size() != ColourImage.size()) AllocateAlphaImage(255);
        const size_t rowStart = size_t(row) * size_t(imageStride_);
        DeepPlanesToColours(BodyRowBuffer.data(), size_t(RowBytes) + 1, planes, IlbmInfo.Width, &ColourImage[rowStart],
                            alpha ? &AlphaImage[rowStart] : nullptr);
        return;
    }
    const int32_t width = IlbmInfo.Width;
    const int32_t planes = IlbmInfo.Bitplanes;
    const size_t rowStart = size_t(row) * size_t(imageStride_);
    uint32_t* colours = &ColourImage[rowStart];
    uint8_t* chunky = &ChunkyImage[rowStart];

    if (planes <= 0) {
        // No planes: every pixel is index 0.
        std::fill(colours, colours + width + 1, 0u);
        std::memset(chunky, 0, size_t(width));
    } else {
        ConvertPlaneRows(BodyRowBuffer.data(), size_t(RowBytes) + 1, planes, width, chunky, colours);
        // The column past the picture holds index 0 before mapping, even
        // where an earlier BODY left a colour there.
        colours[width] = 0;
    }
    // Rows are mapped at once when the display mode is already known.
    if (IlbmInfo.MapAfterLoad == 0 && IlbmInfo.DisplayMode != 0) Iff_PalleteMap_ScanLine();
}

}  // namespace planora
