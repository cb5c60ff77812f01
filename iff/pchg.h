// PCHG: palette changes line by line down the picture, read into a list of
// the changes each row makes (iff/pchg.cpp has the chunk's layout), and
// those changes made to a row's colours.
#pragma once

#include <cstdint>
#include <optional>

#include "iff/byte_reader.h"
#include "iff/line_palette.h"

namespace planora {

// Reads a PCHG chunk's data (as much of it as the file holds) for a picture
// of `rows` rows; lines below the picture are not read. Nothing when the
// chunk cannot be used: shorter than its header, no change kind in its
// flags, an unknown compression or a Huffman tree that does not fit.
std::optional<PaletteChangeList> ReadPaletteChanges(ByteSpan data, int32_t rows);

// Makes row `row`'s changes to `colours`, which hold the row above's colours
// (for row 1, the palette the changes start from). In an Extra-Half-Brite
// picture a change to colour i < 32 also sets colour 32 + i to its half, as
// the display derives it.
void ApplyRowChanges(const PaletteChangeList& list, int32_t row, uint32_t* colours, bool halfBrite);

}  // namespace planora
