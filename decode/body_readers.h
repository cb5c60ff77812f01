// The pixel chunk readers of the forms the BMHD chunk walk reads, one per
// way of storing pixels; each form's row in the table of forms names its
// reader, so the walk has one call for all of them. Each is called with the
// context's cursor at the chunk's data and the length its header claims.
#pragma once

#include <cstdint>

namespace planora {

class PictureContext;

// ILBM: interleaved plane rows, plain or ByteRun1, or the VDAT columns of
// compression 2.
void ReadPlaneBody(PictureContext& pic, uint32_t length);
// PBM: a byte a pixel, rows of even length.
void ReadChunkyBody(PictureContext& pic, uint32_t length);
// ACBM's ABIT: whole planes one after another.
void ReadContiguousBody(PictureContext& pic, uint32_t length);
// RGB8 and RGBN: runs of one colour.
void ReadRgb8Body(PictureContext& pic, uint32_t length);
void ReadRgbnBody(PictureContext& pic, uint32_t length);

}  // namespace planora
