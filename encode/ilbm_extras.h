// What an ILBM holds besides the indices and colour map: the BMHD fields a
// rewrite keeps (aspect, page size, transparency) and chunks copied as they
// are (colour ranges and per-line palettes). A new picture takes the
// defaults: 1:1 pixels, a page of the picture's size, no chunks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace planora::encode {

struct CopiedChunk {
    std::array<char, 4> Id{};
    std::vector<uint8_t> Data;
};

struct IlbmExtras {
    uint8_t XAspect = 1;
    uint8_t YAspect = 1;
    int32_t PageWidth = 0;             // 0: the picture's width
    int32_t PageHeight = 0;            // 0: the picture's height
    bool TransparentIndex = false;     // BMHD masking 2 (transparent colour)
    uint16_t TransparentColour = 0;
    bool DisplayModeChunk = false;     // a CAMG even for display mode 0, as the input had
    std::vector<CopiedChunk> Chunks;   // written before BODY
    // How many of Chunks go before CMAP and CAMG: a RAST read before the
    // colour map starts from the colours held before it.
    std::size_t ChunksBeforeColourMap = 0;
};

}  // namespace planora::encode
