#include "iff/picture_signature.h"

#include <cstring>
#include <initializer_list>

namespace planora {

bool LooksLikePicture(const uint8_t* head, size_t size) {
    if (size < kSignatureBytes) return false;
    const auto is = [&](size_t at, const char* id) { return std::memcmp(head + at, id, 4) == 0; };
    const bool form = is(0, "FORM"), container = is(0, "CAT ") || is(0, "LIST");
    if (!form && !container) return false;
    for (const char* type : {"ILBM", "PBM ", "ACBM", "RGB8", "RGBN", "DEEP", "IMAG"})
        if (is(8, type)) return true;
    return form ? is(8, "ANIM") : is(8, "    ");
}

}  // namespace planora
