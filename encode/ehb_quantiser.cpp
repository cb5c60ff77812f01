#include "encode/ehb_quantiser.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "encode/palette_mapping.h"

namespace planora::encode {
namespace {

constexpr size_t kBases = 32;

std::vector<ColourPoint> Shown(const std::vector<Rgb>& bases) {
    std::vector<Rgb> shown = bases;
    for (Rgb c : bases) shown.push_back(HalfBrite(c));
    return Point(shown);
}

uint8_t Clamp(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

}  // namespace

std::vector<Rgb> QuantiseExtraHalfBrite(const std::vector<ColourSample>& samples, PaletteRequest request) {
    request.Count = int(kBases);
    std::vector<Rgb> bases = QuantisePalette(samples, request);
    const size_t fixed = request.Fixed0 ? 1 : 0;
    if (bases.size() < kBases) return bases;   // every colour has its own entry already
    std::vector<size_t> owner(samples.size(), 2 * kBases);
    for (int iteration = 0; iteration < request.Iterations; ++iteration) {
        const std::vector<ColourPoint> shown = Shown(bases);
        // Per base: weighted sums of the full-served and half-served colours, and the two weights.
        std::vector<std::array<double, 5>> sums(kBases, std::array<double, 5>{});
        bool moved = false;
        for (size_t i = 0; i < samples.size(); ++i) {
            const ColourSample& s = samples[i];
            const size_t nearest = NearestColour(shown, s.Point);
            moved |= nearest != owner[i];
            owner[i] = nearest;
            auto& sum = sums[nearest % kBases];
            const double scale = nearest < kBases ? 1.0 : 0.5;
            sum[0] += s.Weight * s.R * scale, sum[1] += s.Weight * s.G * scale, sum[2] += s.Weight * s.B * scale;
            sum[nearest < kBases ? 3 : 4] += s.Weight;
        }
        if (!moved) break;
        for (size_t k = fixed; k < kBases; ++k) {
            const double weight = sums[k][3] + sums[k][4] / 4;
            if (weight <= 0) continue;
            const Rgb mean{Clamp(sums[k][0] / weight), Clamp(sums[k][1] / weight), Clamp(sums[k][2] / weight)};
            bases[k] = request.Ocs ? ToOcs(mean) : mean;
        }
    }
    return bases;
}

}  // namespace planora::encode
