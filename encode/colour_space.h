// Where the quantisers measure colour error: the gamma-encoded sRGB values
// themselves. Their gamma already spaces steps close to how lightness is
// seen, and the error the encoders are judged by (PSNR, SSIM over R, G and
// B) is measured there; Oklab, tried first, cost 1 to 2 dB of PSNR and some
// SSIM on photographs by spending entries on dark tones.
#pragma once

#include "encode/indexed_picture.h"

namespace planora::encode {

struct ColourPoint {
    float R = 0, G = 0, B = 0;
};

inline ColourPoint PointOf(Rgb c) { return {float(c.R), float(c.G), float(c.B)}; }

inline float Distance(const ColourPoint& a, const ColourPoint& b) {
    const float dr = a.R - b.R, dg = a.G - b.G, db = a.B - b.B;
    return dr * dr + dg * dg + db * db;
}

// 8-bit component as an Amiga OCS/ECS machine shows it: 4 bits, widened by
// repeating them into the low half (0xA -> 0xAA).
inline uint8_t ToOcs(uint8_t value) { return uint8_t(((value * 15 + 127) / 255) * 17); }
inline Rgb ToOcs(Rgb colour) { return {ToOcs(colour.R), ToOcs(colour.G), ToOcs(colour.B)}; }

}  // namespace planora::encode
