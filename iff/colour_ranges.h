// Colour-cycling ranges: the CRNG, CCRT and DRNG chunks of an ILBM.
//
//   CRNG  pad:2 rate:2 flags:2 low:1 high:1
//         flags bit 0 active, bit 1 reverse; rate 16384 = 60 steps a second
//   CCRT  direction:2 (0 off, 1 forward, -1 backward) start:1 end:1
//         seconds:4 microseconds:4 (the time between steps) pad:2
//   DRNG  min:1 max:1 rate:2 flags:2 ntrue:1 nregs:1, then ntrue true-colour
//         cells (cell:1 r:1 g:1 b:1) and nregs register cells (cell:1 index:1)
//
// Every range becomes a list of cells in order: CRNG and CCRT cover the
// registers low..high, a DRNG its cells sorted by cell number (cell numbers
// that are missing are passed over). Cycling moves the colours held by the
// cells one cell along per step; a register cell shows the colour that has
// arrived at it (decode/colour_cycling.cpp).
#pragma once

#include <cstdint>
#include <vector>

#include "iff/byte_reader.h"

namespace planora {

struct ColourCell {
    bool IsRegister = true;
    uint8_t Register = 0;  // for a register cell
    uint32_t Colour = 0;   // RGB24, for a true-colour cell
    bool operator==(const ColourCell&) const = default;
};

struct ColourRange {
    // Cycles only when its flag says so, its rate is above zero and it has
    // more than one cell, at least one of them a register.
    bool Active = false;
    // Forward moves each colour to the next cell (the next higher register),
    // the last wrapping to the first; reverse moves the other way.
    bool Reverse = false;
    // Time between steps: StepNumerator / StepDenominator microseconds.
    int64_t StepNumerator = 0;
    int64_t StepDenominator = 1;
    std::vector<ColourCell> Cells;
};

// Each reads the chunk's data; missing bytes read as zero, so a short chunk
// gives an inactive or shorter range.
ColourRange ReadCrng(ByteSpan data);
ColourRange ReadCcrt(ByteSpan data);
ColourRange ReadDrng(ByteSpan data);

}  // namespace planora
