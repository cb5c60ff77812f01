// How HAM indices become colours. The top two bits of a pixel's value pick
// the step: 0 takes a base colour from the colour map, 1 / 2 / 3 keep the
// colour to the left and set its blue / red / green component to the low
// bits (4 in HAM6, 6 in HAM8). Decoders widen those bits to 8 in one of two
// ways: repeating them into the low bits (an OCS machine, ffmpeg; Planora for
// HAM6) or keeping the low bits of the colour to the left (AGA, ilbmtoppm;
// Planora for HAM8).
#pragma once

#include <vector>

#include "encode/indexed_picture.h"

namespace planora::encode {

enum class HamWidening { Repeat, KeepLowBits };

struct HamModel {
    int ValueBits = 4;   // 4: HAM6, 6: HAM8
    HamWidening Widening = HamWidening::Repeat;
    std::vector<Rgb> Bases;   // 16 or 64
};

inline constexpr int kModifyBlue = 1, kModifyRed = 2, kModifyGreen = 3;

inline HamModel Ham6Model(std::vector<Rgb> bases = {}) { return {4, HamWidening::Repeat, std::move(bases)}; }
inline HamModel Ham8Model(std::vector<Rgb> bases = {}) { return {6, HamWidening::KeepLowBits, std::move(bases)}; }

// The 8-bit component a modify step with value sets, after held.
inline uint8_t Widen(const HamModel& model, int value, uint8_t held) {
    const int shift = 8 - model.ValueBits;
    const int low = model.Widening == HamWidening::KeepLowBits ? held & ((1 << shift) - 1)
                                                               : value >> (model.ValueBits - shift);
    return uint8_t(value << shift | low);
}

// The colour a pixel of code shows after held (the colour to its left).
inline Rgb HamStep(const HamModel& model, Rgb held, uint8_t code) {
    const int value = code & ((1 << model.ValueBits) - 1);
    switch (code >> model.ValueBits) {
        case kModifyBlue: held.B = Widen(model, value, held.B); return held;
        case kModifyRed: held.R = Widen(model, value, held.R); return held;
        case kModifyGreen: held.G = Widen(model, value, held.G); return held;
        default: return value < int(model.Bases.size()) ? model.Bases[size_t(value)] : Rgb{};
    }
}

// A row of codes shown from a held colour of start.
inline std::vector<Rgb> ShowHamRow(const HamModel& model, const uint8_t* codes, int32_t width, Rgb start = {}) {
    std::vector<Rgb> row(static_cast<size_t>(width));
    for (int32_t x = 0; x < width; ++x) start = row[size_t(x)] = HamStep(model, start, codes[x]);
    return row;
}

}  // namespace planora::encode
