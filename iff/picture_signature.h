// Recognising, from its first 12 bytes, a file the loader reads, for the
// image loaders of other programs, which are asked before they read:
//
//   "FORM" <length> <type>  any type of the table of forms (iff/form_table.h),
//                           ANIM included (whose first frame is a FORM ILBM)
//   "CAT " or "LIST" <length> <type>  a picture form of the table, or blank
//                                     (mixed)
#pragma once

#include <cstddef>
#include <cstdint>

namespace planora {

constexpr size_t kSignatureBytes = 12;

bool LooksLikePicture(const uint8_t* head, size_t size);

}  // namespace planora
