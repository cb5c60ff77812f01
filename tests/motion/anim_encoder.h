// A small IFF ANIM encoder for tests: a first frame as a whole ILBM, then
// every later frame as a vertical delta (operation 7 or 8, word or long
// columns) against the frame two back, as animation programs write them.
#pragma once

#include <cstdint>
#include <vector>

#include "ilbm_builder.h"

namespace planora::test {

enum class DeltaKind { SplitShort, SplitLong, ListShort, ListLong };

struct AnimSource {
    int Planes = 4;
    std::vector<uint32_t> Colours;       // CMAP of the first frame
    std::vector<IndexPicture> Frames;    // all the same size
    // When set, frame f (f >= 1) carries a CMAP of these colours.
    std::vector<std::vector<uint32_t>> FrameColours;
    uint32_t RelTime = 1;
};

std::vector<uint8_t> EncodeAnim(const AnimSource& source, DeltaKind kind);

// 40 ANHD bytes: operation, interleave, reltime and bits; the rest zero.
std::vector<uint8_t> AnhdData(uint8_t operation, uint8_t interleave, uint32_t relTime, uint32_t bits);
// FORM ANIM around the given FORM ILBMs.
std::vector<uint8_t> AnimFile(const std::vector<std::vector<uint8_t>>& forms);

}  // namespace planora::test
