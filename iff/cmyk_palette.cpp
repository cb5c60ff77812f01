// The CMYK chunk: a palette of 4-byte entries C, M, Y, K (0 none, 255 full
// ink), written by tools that prepare pictures for print, in place of a CMAP.
//
// Each colour is the ink taken away from white, then darkened by the black:
//   R = (255 - C) * (255 - K) / 255   (likewise G from M and B from Y)
// rounded to the nearest whole value. A CMAP, wherever it is in the file,
// takes precedence: the CMYK colours are used only when there is none.
#include "iff/picture_context.h"

namespace planora {

namespace {
uint32_t Ink(uint32_t ink, uint32_t black) { return ((255 - ink) * (255 - black) + 127) / 255; }
}  // namespace

void PictureContext::LoadCmykPalette(int32_t SectionSize) {
    if (PaletteFromCmap) return;
    const int64_t entries = SectionSize / 4;
    for (int64_t i = 0; i < entries && i < kPaletteEntries; ++i) {
        const uint32_t c = Iff_Read_Byte(), m = Iff_Read_Byte(), y = Iff_Read_Byte(), k = Iff_Read_Byte();
        const uint32_t red = Ink(c, k), green = Ink(m, k), blue = Ink(y, k);
        Palette[i] = FilePalette[i] = (red << 16) | (green << 8) | blue;
        HalfBritePalette[i] = ((red / 2) << 16) | ((green / 2) << 8) | (blue / 2);
    }
}

}  // namespace planora
