// The vertical delta operations of IFF ANIM frames (5, 7 and 8), and the
// planes every delta operation changes.
//
// Each changes bitplanes column by column, top to bottom. A DLTA starts with
// 16 longs: offsets from the DLTA's start, one per plane (0: the plane does
// not change). For every column of the plane, a count of ops follows, then
// the ops:
//   skip   (0 < op < top bit)  move down op rows
//   same   (op == 0)           a count, then one value written count times
//   unique (op has top bit)    op without the top bit values, one per row
// Operation 5: byte columns; ops, counts and values are bytes in one list.
// Operation 7: word (short) or long columns; ops and counts are bytes in the
//   op list (offsets 0-7), values come from the data list (offsets 8-15).
// Operation 8: word or long columns; ops, counts and values are all words or
//   all longs, in one list.
// When a plane row's length is not a whole number of longs, the last column
// of a long delta keeps the high word of each long. Rows below the picture
// are not written.
#pragma once

#include <cstdint>

#include "iff/byte_reader.h"

namespace planora {

// Plane p row y at Data + (p * Height + y) * RowBytes.
struct PlaneBuffer {
    uint8_t* Data = nullptr;
    int32_t Planes = 0;
    int32_t Height = 0;
    int32_t RowBytes = 0;
    int32_t Width = 0;  // pixels

    int64_t PlaneBytes() const { return int64_t{Height} * RowBytes; }
    // `count` bytes from byte `at` of plane p (rows one after another), or
    // null when any of them lies outside the plane.
    uint8_t* BytesAt(int64_t plane, int64_t at, int64_t count) const {
        if (plane < 0 || plane >= Planes || at < 0 || count < 0 || at + count > PlaneBytes()) return nullptr;
        return Data + plane * PlaneBytes() + at;
    }
};

// How applying a DLTA went. A delta that fails may have changed part of the
// planes.
enum class DeltaResult {
    Applied,
    PastChunk,    // an offset or a read lies outside the DLTA
    PastPicture,  // a write lies outside the planes
    Unreadable,   // a code the operation does not define
};

// Writes `bytes` bytes of `value`, high byte first, at p, or XORs them in.
inline void PutItem(uint8_t* p, uint32_t value, int bytes, bool xorValues) {
    for (int i = 0; i < bytes; ++i) {
        const uint8_t b = uint8_t(value >> (8 * (bytes - 1 - i)));
        p[i] = xorValues ? uint8_t(p[i] ^ b) : b;
    }
}

// Each returns false when an offset or the data it leads to lies outside the
// DLTA's data `delta`; the planes may then be half changed.
bool ApplyByteVerticalDelta(ByteSpan delta, bool xorValues, const PlaneBuffer& out);
bool ApplySplitVerticalDelta(ByteSpan delta, bool longData, const PlaneBuffer& out);
bool ApplyListVerticalDelta(ByteSpan delta, bool longData, const PlaneBuffer& out);

}  // namespace planora
