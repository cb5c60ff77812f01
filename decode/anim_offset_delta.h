// The offset delta operations of IFF ANIM frames: 2 (long data) and 3
// (short data).
//
// A DLTA starts with 8 longs: offsets from the DLTA's start to each plane's
// list (0: the plane does not change). A list is signed words, read in
// groups, with a position in the plane counted in items (words for operation
// 3, longs for 2) from the plane's first byte, rows one after another:
//   word >= 0   the position moves on by word items; one item follows,
//               written there
//   word == -1  the end of the list (the chunk's end ends it too)
//   word < -1   a run: the position moves on by -word - 2 items, a count
//               word follows, then count items written at the items after
//               the position, which ends on the last of them
// Offsets and counts are words in both operations; only the items differ.
// The documents give the run's start as "the offset + 2" without saying
// from which item; this reads it as FFmpeg does, one past the position.
#pragma once

#include "decode/anim_delta.h"

namespace planora {

DeltaResult ApplyOffsetDelta(ByteSpan delta, bool longData, const PlaneBuffer& out);

}  // namespace planora
