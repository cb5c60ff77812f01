// Operations 100 ('d', long data) and 101 ('e', short data), the deltas of
// Scala animations.
//
// A DLTA starts with one long for each plane: the offset from the DLTA's
// start to the plane's list (0: the plane does not change). A list is a
// count of entries, then the entries:
//   'd'  count:4, entries of opcode:4 (signed) offset:4 ...
//   'e'  count:2, entries of opcode:2 (signed) offset:4 ...
// The offset is a byte in the plane, counted through rows of
// (width + 7) / 8 bytes. An opcode n >= 0 is followed by one item written n
// times going down from there; n < 0 by -n items, one a row going down.
// Items are longs for 'd' and words for 'e'. No document describes these
// operations; the layout is the one FFmpeg reads. FFmpeg refuses interlaced
// animations (ANHD bit 6); the offsets lie in the stored planes whatever the
// display does, so they are read alike.
#pragma once

#include "decode/anim_delta.h"

namespace planora {

DeltaResult ApplyScalaDelta(ByteSpan delta, bool longData, const PlaneBuffer& out);

}  // namespace planora
