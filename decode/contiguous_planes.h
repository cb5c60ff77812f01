// Whole bitplanes one after another (an ACBM's ABIT, the planes a VDAT BODY
// unpacks to) turned into picture rows.
#pragma once

#include "iff/byte_reader.h"

namespace planora {

class PictureContext;

// `planes` holds plane 0 (Height rows of RowBytes bytes, top row first), then
// plane 1 and so on; bytes it lacks read as 0. Each row goes through
// Iff_P2C_Strip as an ILBM row does.
void DecodeContiguousPlanes(PictureContext& pic, ByteSpan planes);

}  // namespace planora
