// A picture's colours counted once, so that the quantisers work on distinct
// colours with weights instead of on every pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "encode/colour_space.h"

namespace planora::encode {

struct ColourSample {
    ColourPoint Point;   // mean of the pixels counted here
    double Weight = 0;
};

// Every distinct colour of the pixels (three bytes each) while there are at
// most maxExact of them; past that, colours within 4 of each other in every
// component share one sample (their mean), which keeps k-means fast on
// photographs without moving a flat picture's colours. A pixel counts
// weights[i] times when weights are given, else once.
std::vector<ColourSample> CountColours(const uint8_t* rgb, size_t pixels, const float* weights = nullptr,
                                       size_t maxExact = 32768);

inline Rgb RoundedColour(const ColourSample& sample) {
    return {uint8_t(sample.Point.R + 0.5f), uint8_t(sample.Point.G + 0.5f), uint8_t(sample.Point.B + 0.5f)};
}

}  // namespace planora::encode
