#include "encode/ham_search.h"

#include <algorithm>
#include <array>
#include <limits>

namespace planora::encode {
namespace {

constexpr size_t kBasesTried = 4;

struct Step {
    Rgb Held;
    int64_t Cost = 0;
    int32_t Parent = -1;   // index into the previous pixel's steps
    uint8_t Code = 0;
};

int64_t Error(Rgb a, const uint8_t* b) {
    const int dr = a.R - b[0], dg = a.G - b[1], db = a.B - b[2];
    return dr * dr + dg * dg + db * db;
}

uint8_t& ComponentOf(Rgb& c, int control) { return control == kModifyRed ? c.R : control == kModifyGreen ? c.G : c.B; }
uint8_t ValueOf(Rgb c, int control) { return control == kModifyRed ? c.R : control == kModifyGreen ? c.G : c.B; }
int ChannelOf(int control) { return control == kModifyRed ? 0 : control == kModifyGreen ? 1 : 2; }

// The values whose widened component lies just below and just above goal.
std::array<int, 2> Bracket(const HamModel& model, int goal, uint8_t held) {
    const int top = (1 << model.ValueBits) - 1;
    int value = std::clamp(goal >> (8 - model.ValueBits), 0, top);
    if (Widen(model, value, held) > goal && value > 0) --value;
    return {value, std::min(value + 1, top)};
}



}  // namespace

HamRow SearchHamRow(const HamModel& model, const uint8_t* wanted, int32_t width, int beamWidth) {
    HamRow row;
    if (width <= 0) return row;
    const size_t beam = size_t(std::clamp(beamWidth, 1, 255));
    std::vector<Step> steps(size_t(width) * beam);
    std::vector<uint8_t> kept(size_t(width), 0);
    std::vector<Step> candidates;
    candidates.reserve(kBasesTried + beam * 12);
    std::array<std::pair<int64_t, uint8_t>, 256> baseOrder{};
    const auto byCost = [](const Step& a, const Step& b) { return a.Cost < b.Cost; };
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t* goal = wanted + 3 * size_t(x);
        const uint8_t* next = x + 1 < width ? goal + 3 : goal;
        candidates.clear();
        const Step* previous = x > 0 ? &steps[size_t(x - 1) * beam] : nullptr;
        const size_t previousCount = x > 0 ? kept[size_t(x - 1)] : 0;
        // previous steps are sorted by cost: the first is the cheapest.
        const int64_t cheapest = previous ? previous[0].Cost : 0;
        // The cheapest few bases only: they all follow the cheapest path, and
        // more than a few of them rarely survive the modify steps.
        for (size_t b = 0; b < model.Bases.size(); ++b) baseOrder[b] = {Error(model.Bases[b], goal), uint8_t(b)};
        const size_t keptBases = std::min({model.Bases.size(), beam, kBasesTried});
        std::partial_sort(baseOrder.begin(), baseOrder.begin() + long(keptBases),
                          baseOrder.begin() + long(model.Bases.size()));
        for (size_t b = 0; b < keptBases; ++b) {
            const uint8_t index = baseOrder[b].second;
            candidates.push_back({model.Bases[index], cheapest + baseOrder[b].first, previous ? 0 : -1, index});
        }
        for (size_t s = 0; s < previousCount; ++s) {
            const Step& from = previous[s];
            for (int control : {kModifyBlue, kModifyRed, kModifyGreen}) {
                const int channel = ChannelOf(control);
                const uint8_t held = ValueOf(from.Held, control);
                const auto bracket = Bracket(model, goal[channel], held);
                const auto ahead = Bracket(model, next[channel], held);
                const std::array<int, 4> values{bracket[0], bracket[1], ahead[0], ahead[1]};
                for (size_t v = 0; v < values.size(); ++v) {
                    const int value = values[v];
                    if ((v > 0 && value == values[0]) || (v > 1 && value == values[1]) || (v == 3 && value == values[2]))
                        continue;
                    Step step{from.Held, 0, int32_t(s), uint8_t(control << model.ValueBits | value)};
                    ComponentOf(step.Held, control) = Widen(model, value, held);
                    step.Cost = from.Cost + Error(step.Held, goal);
                    candidates.push_back(step);
                }
            }
        }
        // The cheapest distinct held colours: sorting twice the beam is
        // enough, as duplicates are rare.
        const size_t sorted = std::min(candidates.size(), 2 * beam);
        std::nth_element(candidates.begin(), candidates.begin() + long(sorted - 1), candidates.end(), byCost);
        std::sort(candidates.begin(), candidates.begin() + long(sorted), byCost);
        Step* out = &steps[size_t(x) * beam];
        size_t count = 0;
        for (size_t i = 0; i < sorted && count < beam; ++i) {
            const Step& c = candidates[i];
            const bool seen = std::any_of(out, out + count, [&](const Step& k) { return k.Held == c.Held; });
            if (!seen) out[count++] = c;
        }
        kept[size_t(x)] = uint8_t(count);
    }
    row.Codes.resize(size_t(width));
    int32_t at = 0;
    row.Error = steps[size_t(width - 1) * beam].Cost;
    for (int32_t x = width - 1; x >= 0; --x) {
        const Step& s = steps[size_t(x) * beam + size_t(at)];
        row.Codes[size_t(x)] = s.Code;
        at = s.Parent;
    }
    return row;
}

}  // namespace planora::encode
