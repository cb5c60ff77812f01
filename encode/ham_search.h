// The HAM codes of one row, searched with look-ahead: a beam search over the
// colour the display holds.
//
// Method: after each pixel the search keeps the beamWidth cheapest distinct
// held colours, each with the squared RGB error of the path that reaches it.
// A pixel extends every kept colour by changing one component to either
// value that brackets the wanted one, or to the value the next pixel wants
// (the look-ahead a greedy search lacks); a base colour is reached from the
// cheapest path alone, as no earlier choice changes what it shows. The first
// pixel is always a base colour, so that decoders starting a row from colour
// 0 and from black agree. Width 1 is the greedy search.
#pragma once

#include <cstdint>
#include <vector>

#include "encode/ham_model.h"

namespace planora::encode {

struct HamRow {
    std::vector<uint8_t> Codes;
    int64_t Error = 0;   // sum of squared RGB differences
};

// wanted: width pixels, three bytes each.
HamRow SearchHamRow(const HamModel& model, const uint8_t* wanted, int32_t width, int beamWidth);

}  // namespace planora::encode
