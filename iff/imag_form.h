// FORM IMAG (CD-i pictures): the chunks that describe the picture, read into
// one value, and the load of such a file.
#pragma once

#include <cstdint>
#include <vector>

#include "iff/byte_reader.h"

namespace planora {

class PictureContext;

// IHDR colour models.
enum ImagModel : int32_t { kImagClut8 = 4, kImagClut7 = 5, kImagClut4 = 6 };

// One PLTE colour.
struct ImagColour {
    int32_t Index = 0;
    uint32_t Rgb = 0;
};

// IHDR and PLTE as the file gives them (the last IHDR; every PLTE's colours,
// in file order) and the first IDAT.
struct ImagHeader {
    bool HasHeader = false;  // an IHDR was read
    int32_t Width = 0, LineBytes = 0, Height = 0, Model = 0, Depth = 0;
    std::vector<ImagColour> Colours;
    bool HasPixels = false;
    ByteSpan Pixels;  // the IDAT's data, cut at the end of the file
};

// `file`: the FORM IMAG at its start, to the end of the file. Palette
// indices reach at most `paletteEntries` - 1.
ImagHeader ReadImagHeader(ByteSpan file, int32_t paletteEntries);

// The index of pixel x in a row of IDAT bytes by the colour model: a byte
// each (CLUT7 keeps its low 7 bits) or a nibble each (CLUT4, high first).
uint8_t ImagIndex(ByteSpan row, int32_t x, int32_t model);

// Loads the FORM IMAG in the context's file cache; returns 1, or throws
// RunTimeError for what it cannot read.
int16_t LoadImagForm(PictureContext& pic);

}  // namespace planora
