// The description of a loaded picture under the program's names: the BMHD
// fields, the CAMG mode state and the chunk walk's bookkeeping, and the
// colour tables the palettes are kept in.
#pragma once

#include <array>
#include <cstdint>

namespace planora {

// The picture description: the BMHD fields, the CAMG mode state and the
// walk's bookkeeping. 16-bit flags hold 1 (or -1 for MapAfterLoad) for true.
struct IlbmInfoRecord {
    int32_t FormSize = 0;
    int32_t HeaderSize = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Xpos = 0;
    int32_t Ypos = 0;
    int32_t Bitplanes = 0;
    int32_t Masking = 0;
    int32_t Packtype = 0;
    int32_t Pad1 = 0;
    int32_t TransparentColour = 0;
    int32_t XAspectRatio = 0;
    int32_t YAspectRatio = 0;
    int32_t PageWidth = 0;
    int32_t PageHeight = 0;
    int32_t ModeID = 0;
    int16_t DisplayMode = 0;  // 0 no CAMG read, 1 normal, 2 HAM6, 3 HAM8
    int16_t HalfBriteFlag = 0;
    int16_t HamFlag = 0;
    int16_t DynamicPaletteFlag = 0;
    int16_t InterlaceFlag = 0;
    int16_t MapAfterLoad = 0;  // -1: rows are mapped after the chunk walk
};

// Palettes hold 257 entries, indices 0 to 256; pixel values reach 255.
constexpr int kPaletteEntries = 257;

using ColourTable = std::array<uint32_t, kPaletteEntries>;

}  // namespace planora
