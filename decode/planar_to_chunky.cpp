// Planar-to-chunky conversion of one image row.
//
// Plane p holds bit p of every pixel's index; bit 7 of a plane byte is the
// leftmost of its eight pixels. Four tables split a plane byte into pairs of
// pixels: table k puts the bit of pixel 2k at 256 and that of pixel 2k + 1 at
// 1. Starting from the highest plane and doubling the accumulators for each
// lower plane leaves the index of pixel 2k in the high byte and that of pixel
// 2k + 1 in the low byte, so four lookups per plane byte place eight pixels.
#include <algorithm>
#include <cstring>

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
        DeepStrip(row);
        return;
    }
    const int32_t width = IlbmInfo.Width;
    const int32_t planes = IlbmInfo.Bitplanes;
    const size_t rowStart = size_t(row) * size_t(imageStride_);
    uint32_t* colours = &ColourImage[rowStart];
    uint8_t* chunky = &ChunkyImage[rowStart];

    if (planes <= 0) {
        // No planes: every pixel is index 0.
        std::fill(colours, colours + width, 0u);
        std::memset(chunky, 0, size_t(width));
    } else {
        const size_t planeStride = size_t(RowBytes) + 1;
        const uint8_t* top = &BodyRowBuffer[size_t(planes - 1) * planeStride];
        int32_t x = 0;
        for (int32_t c = 0; c < RowBytes && x < width; ++c) {
            uint32_t b = top[c];
            uint32_t a0 = P2C_Word_Table0[b], a1 = P2C_Word_Table1[b];
            uint32_t a2 = P2C_Word_Table2[b], a3 = P2C_Word_Table3[b];
            for (int32_t p = planes - 2; p >= 0; --p) {
                b = BodyRowBuffer[size_t(p) * planeStride + size_t(c)];
                a0 = 2 * a0 + P2C_Word_Table0[b];
                a1 = 2 * a1 + P2C_Word_Table1[b];
                a2 = 2 * a2 + P2C_Word_Table2[b];
                a3 = 2 * a3 + P2C_Word_Table3[b];
            }
            const uint32_t pixels[8] = {a0 >> 8, a0 & 0xFF, a1 >> 8, a1 & 0xFF,
                                        a2 >> 8, a2 & 0xFF, a3 >> 8, a3 & 0xFF};
            // The padding pixels past Width at the end of the last word are dropped.
            const int32_t count = std::min(8, width - x);
            for (int32_t i = 0; i < count; ++i, ++x) {
                colours[x] = pixels[i];
                chunky[x] = static_cast<uint8_t>(pixels[i]);
            }
        }
    }
    // Rows are mapped at once when the display mode is already known.
    if (IlbmInfo.MapAfterLoad == 0 && IlbmInfo.DisplayMode != 0) Iff_PalleteMap_ScanLine();
}

}  // namespace planora
