#include "encode/colour_samples.h"

#include <algorithm>

namespace planora::encode {
namespace {

ColourSample MakeSample(double r, double g, double b, double weight) {
    ColourSample s;
    s.Point = {float(r / weight), float(g / weight), float(b / weight)};
    s.Weight = weight;
    return s;
}

double WeightOf(const float* weights, size_t i) { return weights ? double(weights[i]) : 1.0; }

// Bins of 6 bits a component, each the weighted mean of its pixels.
std::vector<ColourSample> Binned(const uint8_t* rgb, size_t pixels, const float* weights) {
    struct Sum { double R = 0, G = 0, B = 0, N = 0; };
    std::vector<Sum> bins(size_t(1) << 18);
    for (size_t i = 0; i < pixels; ++i) {
        const uint8_t* p = rgb + 3 * i;
        const double w = WeightOf(weights, i);
        Sum& bin = bins[size_t(p[0] >> 2) << 12 | size_t(p[1] >> 2) << 6 | size_t(p[2] >> 2)];
        bin.R += w * p[0], bin.G += w * p[1], bin.B += w * p[2], bin.N += w;
    }
    std::vector<ColourSample> samples;
    for (const Sum& bin : bins)
        if (bin.N > 0) samples.push_back(MakeSample(bin.R, bin.G, bin.B, bin.N));
    return samples;
}

}  // namespace

std::vector<ColourSample> CountColours(const uint8_t* rgb, size_t pixels, const float* weights, size_t maxExact) {
    // Colour in the high bits, pixel number below, so that a sort groups colours.
    std::vector<uint64_t> keys(pixels);
    for (size_t i = 0; i < pixels; ++i)
        keys[i] = (uint64_t(rgb[3 * i]) << 16 | uint64_t(rgb[3 * i + 1]) << 8 | rgb[3 * i + 2]) << 32 | i;
    std::sort(keys.begin(), keys.end());
    std::vector<ColourSample> samples;
    for (size_t i = 0, run = 0; i < keys.size(); i = run) {
        const uint64_t colour = keys[i] >> 32;
        double weight = 0;
        for (run = i; run < keys.size() && keys[run] >> 32 == colour; ++run) weight += WeightOf(weights, keys[run] & 0xFFFFFFFF);
        if (weight <= 0) continue;
        if (samples.size() == maxExact) return Binned(rgb, pixels, weights);
        samples.push_back(MakeSample(weight * double(colour >> 16), weight * double((colour >> 8) & 0xFF),
                                     weight * double(colour & 0xFF), weight));
    }
    return samples;
}

}  // namespace planora::encode
