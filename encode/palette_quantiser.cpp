#include "encode/palette_quantiser.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

namespace planora::encode {
namespace {

float Component(const ColourPoint& c, int axis) { return axis == 0 ? c.R : axis == 1 ? c.G : c.B; }

struct Box {
    std::vector<size_t> Members;
    double Error = 0;   // weighted squared distance to the box's mean
    int Axis = 0;       // the axis of largest spread
};

Box MakeBox(std::vector<size_t> members, const std::vector<ColourSample>& samples) {
    Box box{std::move(members)};
    std::array<double, 3> sum{}, squares{};
    double weight = 0;
    for (size_t i : box.Members) {
        const ColourSample& s = samples[i];
        for (int axis = 0; axis < 3; ++axis) {
            const double v = Component(s.Point, axis);
            sum[size_t(axis)] += s.Weight * v, squares[size_t(axis)] += s.Weight * v * v;
        }
        weight += s.Weight;
    }
    double widest = -1;
    for (int axis = 0; axis < 3; ++axis) {
        const double spread = squares[size_t(axis)] - sum[size_t(axis)] * sum[size_t(axis)] / weight;
        box.Error += spread;
        if (spread > widest) widest = spread, box.Axis = axis;
    }
    if (box.Members.size() < 2) box.Error = 0;
    return box;
}

std::vector<Box> MedianCut(const std::vector<ColourSample>& samples, size_t count) {
    std::vector<size_t> all(samples.size());
    std::iota(all.begin(), all.end(), 0);
    std::vector<Box> boxes{MakeBox(std::move(all), samples)};
    while (boxes.size() < count) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.Error < b.Error; });
        if (worst->Error <= 0) break;
        std::vector<size_t> members = std::move(worst->Members);
        const int axis = worst->Axis;
        std::sort(members.begin(), members.end(), [&](size_t a, size_t b) {
            return Component(samples[a].Point, axis) < Component(samples[b].Point, axis);
        });
        double total = 0, running = 0;
        for (size_t i : members) total += samples[i].Weight;
        size_t cut = 1;
        while (cut < members.size() - 1 && running + samples[members[cut - 1]].Weight < total / 2)
            running += samples[members[cut - 1]].Weight, ++cut;
        std::vector<size_t> upper(members.begin() + long(cut), members.end());
        members.resize(cut);
        *worst = MakeBox(std::move(members), samples);
        boxes.push_back(MakeBox(std::move(upper), samples));
    }
    return boxes;
}

Rgb MeanColour(const std::array<double, 4>& sum, bool ocs) {
    const Rgb mean{uint8_t(sum[0] / sum[3] + 0.5), uint8_t(sum[1] / sum[3] + 0.5), uint8_t(sum[2] / sum[3] + 0.5)};
    return ocs ? ToOcs(mean) : mean;
}

}  // namespace

std::vector<ColourPoint> PointsOf(const std::vector<Rgb>& palette) {
    std::vector<ColourPoint> points;
    points.reserve(palette.size());
    for (Rgb c : palette) points.push_back(PointOf(c));
    return points;
}

size_t NearestColour(const std::vector<ColourPoint>& palette, const ColourPoint& colour) {
    size_t best = 0;
    float bestDistance = std::numeric_limits<float>::max();
    for (size_t i = 0; i < palette.size(); ++i) {
        const float d = Distance(palette[i], colour);
        if (d < bestDistance) bestDistance = d, best = i;
    }
    return best;
}

std::vector<Rgb> QuantisePalette(const std::vector<ColourSample>& samples, const PaletteRequest& request) {
    const size_t fixed = request.Fixed0 ? 1 : 0;
    const size_t free = size_t(std::max(request.Count, 1)) - fixed;
    std::vector<Rgb> palette;
    if (request.Fixed0) palette.push_back(*request.Fixed0);
    if (samples.empty() || free == 0) return palette;
    for (const Box& box : MedianCut(samples, free)) {
        std::array<double, 4> sum{};
        for (size_t i : box.Members) {
            const ColourSample& s = samples[i];
            sum[0] += s.Weight * s.Point.R, sum[1] += s.Weight * s.Point.G, sum[2] += s.Weight * s.Point.B, sum[3] += s.Weight;
        }
        palette.push_back(MeanColour(sum, request.Ocs));
    }
    std::vector<ColourPoint> points = PointsOf(palette);
    std::vector<size_t> owner(samples.size(), palette.size());
    for (int iteration = 0; iteration < request.Iterations; ++iteration) {
        bool moved = false;
        std::vector<std::array<double, 4>> sums(palette.size(), std::array<double, 4>{});
        size_t farthest = 0;
        double farthestError = -1;
        for (size_t i = 0; i < samples.size(); ++i) {
            const ColourSample& s = samples[i];
            const size_t nearest = NearestColour(points, s.Point);
            moved |= nearest != owner[i];
            owner[i] = nearest;
            auto& sum = sums[nearest];
            sum[0] += s.Weight * s.Point.R, sum[1] += s.Weight * s.Point.G, sum[2] += s.Weight * s.Point.B, sum[3] += s.Weight;
            const double error = s.Weight * Distance(points[nearest], s.Point);
            if (error > farthestError) farthestError = error, farthest = i;
        }
        if (!moved) break;
        for (size_t k = fixed; k < palette.size(); ++k) {
            // An entry nobody chose moves to the colour served worst.
            palette[k] = sums[k][3] > 0 ? MeanColour(sums[k], request.Ocs)
                                        : (request.Ocs ? ToOcs(RoundedColour(samples[farthest]))
                                                       : RoundedColour(samples[farthest]));
            points[k] = PointOf(palette[k]);
        }
    }
    return palette;
}

}  // namespace planora::encode
