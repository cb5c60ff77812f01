// The CMYK chunk: a palette of 4-byte entries C, M, Y, K (0 none, 255 full
// ink), written by tools that prepare pictures for print, in place of a CMAP.
//
// Each colour is the ink taken away from white, then darkened by the black:
//   R = (255 - C) * (255 - K) / 255   (likewise G from M and B from Y)
// rounded to the nearest whole value. A CMAP, wherever it is in the file,
// takes precedence: the chunk walk uses these colours only when there is none.
#include "iff/cmyk_palette.h"

namespace planora {

namespace {
uint32_t Ink(uint32_t ink, uint32_t black) { return ((255 - ink) * (255 - black) + 127) / 255; }
}  // namespace

std::vector<uint32_t> CmykColours(ByteSpan bytes, int32_t length, int64_t most) {
    ByteReader in(bytes);
    std::vector<uint32_t> colours;
    const int64_t entries = length / 4;
    for (int64_t i = 0; i < entries && i < most; ++i) {
        const uint32_t c = in.Byte(), m = in.Byte(), y = in.Byte(), k = in.Byte();
        colours.push_back(Ink(c, k) << 16 | Ink(m, k) << 8 | Ink(y, k));
    }
    return colours;
}

}  // namespace planora
