// Writing FORM ILBM: BMHD, CMAP, CAMG when the picture has a display mode,
// the extra chunks, then BODY with one row of each plane after another.
// Chunks of odd length take a pad byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "encode/ilbm_extras.h"
#include "encode/indexed_picture.h"

namespace planora {

enum class IlbmCompression { None, ByteRun1 };

// The largest width or height written: readers take the BMHD words as signed.
inline constexpr int32_t kMaxIlbmSide = 32767;

// The whole file. Throws std::invalid_argument for a picture the format
// cannot hold (no pixels, sides over kMaxIlbmSide, planes outside 1..8, or
// fewer indices than pixels).
std::vector<uint8_t> BuildIlbmFile(const encode::IndexedPicture& picture, const encode::IlbmExtras& extras,
                                   IlbmCompression compression);

// The plane rows of picture row y: plane p's bits at p * RowBytes, where
// RowBytes is the row padded to 16-bit words.
int32_t IlbmRowBytes(int32_t width);
void SplitRowIntoPlanes(const encode::IndexedPicture& picture, int32_t y, std::vector<uint8_t>& planes);

}  // namespace planora
