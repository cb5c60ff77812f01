// Operation 108 ('l'): word data in one list, where to put it in another.
//
// A DLTA starts with 8 longs, plane p's data list, then 8 longs, plane p's
// offset list, each an offset from the DLTA's start counted in words (data
// 0: the plane does not change). The offset list holds pairs of words,
// ended by FFFF (or the chunk's end):
//   offset   a word in the plane, counted through rows of (width + 7) / 8
//            bytes
//   count    signed: n >= 0 takes n words from the data list, n < 0 one
//            word written -n times
// Successive words go down a row (ANHD bit 0 clear) or right one word (bit
// 0 set). No document describes the operation; the layout is the one FFmpeg
// reads, except that FFmpeg goes down (width + 7) / 8 bytes a plane instead
// of a row, which differs where the width is 1 to 8 past a multiple of 16.
#pragma once

#include "decode/anim_delta.h"

namespace planora {

DeltaResult ApplyWordListDelta(ByteSpan delta, bool horizontal, const PlaneBuffer& out);

}  // namespace planora
