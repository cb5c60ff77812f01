// Compression 2 of Atari ST DeluxePaint: a BODY of VDAT chunks, one per
// bitplane, each filling its plane column by column.
#pragma once

#include <cstdint>
#include <vector>

#include "iff/byte_reader.h"

namespace planora {

// `fromBody` is the file from the BODY's data on: the BODY is read this way
// only when it starts with a VDAT chunk.
bool BodyHoldsVdatChunks(ByteSpan fromBody);

// The planes the VDAT chunks of `body` unpack to, one after another as in an
// ACBM (decode/contiguous_planes.h): `planes` planes of Height rows of
// 2 * ceil(width / 16) bytes.
std::vector<uint8_t> UnpackVerticalRlePlanes(ByteSpan body, int32_t width, int32_t height, int32_t planes);

}  // namespace planora
