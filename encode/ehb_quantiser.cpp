#include "encode/ehb_quantiser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

#include "encode/palette_mapping.h"

namespace planora::encode {
namespace {

constexpr size_t kBases = 32;

std::vector<ColourPoint> Shown(const std::vector<Rgb>& bases) {
    std::vector<Rgb> shown = bases;
    for (Rgb c : bases) shown.push_back(HalfBrite(c));
    return PointsOf(shown);
}

uint8_t Clamp(double v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

// Lloyd iterations over bases and halves; returns the total squared error.
double Refine(std::vector<Rgb>& bases, const std::vector<ColourSample>& samples, const PaletteRequest& request) {
    const size_t fixed = request.Fixed0 ? 1 : 0;
    double total = 0;
    for (int iteration = 0; iteration <= request.Iterations; ++iteration) {
        const std::vector<ColourPoint> shown = Shown(bases);
        // Per base: weighted sums of the full-served colours plus half the
        // half-served ones, and the two weights.
        std::vector<std::array<double, 5>> sums(kBases, std::array<double, 5>{});
        total = 0;
        for (const ColourSample& s : samples) {
            const size_t nearest = NearestColour(shown, s.Point);
            total += s.Weight * Distance(shown[nearest], s.Point);
            auto& sum = sums[nearest % kBases];
            const double scale = nearest < kBases ? 1.0 : 0.5;
            sum[0] += s.Weight * s.Point.R * scale, sum[1] += s.Weight * s.Point.G * scale, sum[2] += s.Weight * s.Point.B * scale;
            sum[nearest < kBases ? 3 : 4] += s.Weight;
        }
        if (iteration == request.Iterations) break;
        for (size_t k = fixed; k < kBases; ++k) {
            const double weight = sums[k][3] + sums[k][4] / 4;
            if (weight <= 0) continue;
            const Rgb mean{Clamp(sums[k][0] / weight), Clamp(sums[k][1] / weight), Clamp(sums[k][2] / weight)};
            bases[k] = request.Ocs ? ToOcs(mean) : mean;
        }
    }
    return total;
}

// A start for pictures whose dark colours are halves of bright ones: the 64
// colours of a plain palette, paired off (a colour and the one nearest its
// half) cheapest first until 32 remain as bases.
std::vector<Rgb> PairedStart(const std::vector<ColourSample>& samples, PaletteRequest request) {
    request.Count = int(2 * kBases);
    const std::vector<Rgb> colours = QuantisePalette(samples, request);
    const size_t fixed = request.Fixed0 ? 1 : 0;
    std::vector<std::tuple<float, size_t, size_t>> pairs;   // cost, base, half
    for (size_t i = 0; i < colours.size(); ++i)
        for (size_t j = fixed; j < colours.size(); ++j)
            if (i != j) pairs.emplace_back(Distance(PointOf(HalfBrite(colours[i])), PointOf(colours[j])), i, j);
    std::sort(pairs.begin(), pairs.end());
    std::vector<bool> isHalf(colours.size(), false), isBase(colours.size(), false);
    size_t bases = colours.size();
    for (const auto& [cost, base, half] : pairs) {
        if (bases <= kBases) break;
        if (isHalf[base] || isBase[half] || isHalf[half] || isBase[base]) continue;
        isBase[base] = true, isHalf[half] = true, --bases;
    }
    std::vector<Rgb> start;
    for (size_t i = 0; i < colours.size(); ++i)
        if (!isHalf[i]) start.push_back(colours[i]);
    return start;
}

}  // namespace

std::vector<Rgb> QuantiseExtraHalfBrite(const std::vector<ColourSample>& samples, PaletteRequest request) {
    request.Count = int(kBases);
    std::vector<Rgb> plain = QuantisePalette(samples, request);
    if (plain.size() < kBases) return plain;   // every colour has its own entry already
    std::vector<Rgb> paired = PairedStart(samples, request);
    const double plainError = Refine(plain, samples, request);
    if (paired.size() != kBases) return plain;
    return Refine(paired, samples, request) < plainError ? paired : plain;
}

}  // namespace planora::encode
