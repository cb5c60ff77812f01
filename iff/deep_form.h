// FORM DEEP (TVPaint's true-colour pictures): the chunks that describe the
// pixels, read into one value, and the load of such a file.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "iff/byte_reader.h"

namespace planora {

class PictureContext;

// One DPEL element: its type (1 red, 2 green, 3 blue, 4 or 17 alpha) and bits.
struct DeepElement {
    uint16_t Type = 0;
    uint16_t Bits = 0;
};

// DGBL, DPEL, DLOC and TVDC as the file gives them, and the first DBOD.
// Later chunks of a kind replace earlier ones; a DLOC's size wins over any DGBL's.
struct DeepHeader {
    bool HasGlobals = false;   // a DGBL was read
    bool HasLocation = false;  // a DLOC was read
    int32_t Width = 0, Height = 0;
    int32_t PageWidth = 0, PageHeight = 0;  // the DGBL display size
    int32_t X = 0, Y = 0;                   // the DLOC position
    int32_t Compression = 0;                // 0 none, 1 run-length, 5 TVDC
    int32_t XAspect = 0, YAspect = 0;
    std::vector<DeepElement> Elements;
    std::array<int16_t, 16> Deltas{};  // TVDC
    bool HasBody = false;
    ByteSpan Body;  // the DBOD's data, cut at the end of the file
};

// `file`: the FORM DEEP at its start, to the end of the file.
DeepHeader ReadDeepHeader(ByteSpan file);

// Loads the FORM DEEP in the context's file cache; returns 1, or throws
// RunTimeError for what it cannot read.
int16_t LoadDeepForm(PictureContext& pic);

}  // namespace planora
