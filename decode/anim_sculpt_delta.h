// Operation 74 ('J'), the delta of Sculpt 3D and 4D animations.
//
// A DLTA is a sequence of blocks of big-endian words, each starting with its
// kind: 0 ends the DLTA (so does the chunk's end).
//   1  XOR flag, rows, groups; each group an offset, then for each of the
//      rows, one byte for each plane: a column one byte wide going down
//   2  XOR flag, rows, width in bytes, groups; each group an offset, then
//      for each row, for each plane, width bytes going right
// A group whose byte count is odd is followed by a pad byte. A non-zero XOR
// flag XORs the bytes into the planes instead of setting them. An offset
// counts bytes through rows of (width + 7) / 8 bytes; for a picture 16 or
// more pixels narrower than 320 the rows are 40 bytes, those of Sculpt's
// 320-pixel screen, on which the picture sits centred to the byte (FFmpeg
// reads them so).
// The documents name the operation without describing it; the layout is
// the one FFmpeg reads.
#pragma once

#include "decode/anim_delta.h"

namespace planora {

DeltaResult ApplySculptDelta(ByteSpan delta, const PlaneBuffer& out);

}  // namespace planora
