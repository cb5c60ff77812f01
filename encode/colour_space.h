// Oklab, the perceptually uniform space the quantisers measure colour error
// in: equal distances there look about equally different, so a palette
// spends its entries where the eye sees the difference.
#pragma once

#include "encode/indexed_picture.h"

namespace planora::encode {

struct Lab {
    float L = 0, A = 0, B = 0;
};

Lab ToOklab(Rgb colour);

inline float Distance(const Lab& a, const Lab& b) {
    const float dl = a.L - b.L, da = a.A - b.A, db = a.B - b.B;
    return dl * dl + da * da + db * db;
}

// 8-bit component as an Amiga OCS/ECS machine shows it: 4 bits, widened by
// repeating them into the low half (0xA -> 0xAA).
inline uint8_t ToOcs(uint8_t value) { return uint8_t(((value * 15 + 127) / 255) * 17); }
inline Rgb ToOcs(Rgb colour) { return {ToOcs(colour.R), ToOcs(colour.G), ToOcs(colour.B)}; }

}  // namespace planora::encode
