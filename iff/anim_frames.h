// The frames of a FORM ANIM.
//
//   "FORM" <length> "ANIM", then one FORM ILBM per frame:
//     the first a whole picture (BMHD, CMAP, CAMG, BODY ...), which loads as
//     the picture itself;
//     each later one an ANHD, an optional CMAP (the frame's new colours) and
//     a DLTA with the changes from an earlier frame (a BODY for operation 0).
//   ANHD (40 bytes): operation:1 mask:1 w:2 h:2 x:2 y:2 abstime:4 reltime:4
//     interleave:1 pad:1 bits:4 pad:16
//     reltime: 1/60 s to show the frame before it;
//     interleave: which earlier frame the delta changes, 0 meaning two back;
//     bits: bit 0 long (not short) data of operations 7 and 8, horizontal
//     runs of operation l; bit 1 XOR values of operation 5.
//   DPAN (in the first frame): version:2 frames:2 ...: how many frames the
//     animation shows; two more after them repeat the first two (loop
//     frames, see decode/anim_player.h).
//   ANSQ (in any frame or between them): the order frames are played in,
//     entries of delta:2 ticks:2, each showing the file's frame delta + 1
//     (delta 0 is the first frame after the whole one) for ticks. Frames is
//     then the first frame followed by the frames the entries name, each
//     with its entry's ticks as reltime.
// The frame list stops at the first FORM that does not fit in the file or is
// not an ILBM, or at an ANSQ entry naming a frame the file does not hold;
// Problem then says why.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "iff/byte_reader.h"

namespace planora {

struct AnimFrame {
    int64_t FormStart = 0;   // the frame's "FORM" in the file
    bool HasHeader = false;  // an ANHD was read
    uint8_t Operation = 0;
    uint8_t Interleave = 0;
    uint32_t RelTime = 0;  // sixtieths of a second
    uint32_t Bits = 0;
    // Data offset and length of the frame's chunks; Pos -1 when absent.
    int64_t CmapPos = -1;
    uint32_t CmapLength = 0;
    int64_t DeltaPos = -1;
    uint32_t DeltaLength = 0;
    int64_t BodyPos = -1;
    uint32_t BodyLength = 0;
    int64_t BmhdPos = -1;
};

struct AnimLayout {
    std::vector<AnimFrame> Frames;  // the first frame included
    uint32_t DpanFrames = 0;        // 0 without a DPAN
    std::string Problem;            // empty when the whole file was read
};

// The frames of `file`, a FORM ANIM; the positions are offsets in `file`.
AnimLayout ReadAnimLayout(ByteSpan file);

}  // namespace planora
