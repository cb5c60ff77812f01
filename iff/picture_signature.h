// Recognising, from its first 12 bytes, a file the loader reads, for the
// image loaders of other programs, which are asked before they read:
//
//   "FORM" <length> <type>  type ILBM, PBM, ACBM, RGB8, RGBN, DEEP, IMAG or
//                           ANIM (whose first frame is a FORM ILBM)
//   "CAT " or "LIST" <length> <type>  type one of those, or blank (mixed)
#pragma once

#include <cstddef>
#include <cstdint>

namespace planora {

constexpr size_t kSignatureBytes = 12;

bool LooksLikePicture(const uint8_t* head, size_t size);

}  // namespace planora
