#include "decode/colour_cycling.h"

#include <algorithm>


namespace planora {

namespace {
constexpr int kHalfBriteColours = 32;
}  // namespace

int64_t CycleSteps(const ColourRange& range, int64_t micros) {
    if (!range.Active || micros <= 0 || range.StepNumerator <= 0) return 0;
    const __int128 steps = __int128{micros} * range.StepDenominator / range.StepNumerator;
    return int64_t(std::min<__int128>(steps, INT64_MAX));
}

bool HasActiveRanges(const std::vector<ColourRange>& ranges) {
    return std::any_of(ranges.begin(), ranges.end(), [](const ColourRange& r) { return r.Active; });
}

void CyclePalette(const std::vector<ColourRange>& ranges, const ColourTable& base, int64_t micros, bool halfBrite,
                  ColourTable& out) {
    out = base;
    for (const ColourRange& range : ranges) {
        if (!range.Active) continue;
        const int64_t n = int64_t(range.Cells.size());
        const int64_t steps = CycleSteps(range, micros) % n;
        // Forward: cell k shows the colour that started at cell k - steps.
        const int64_t shift = range.Reverse ? (n - steps) % n : steps;
        for (int64_t k = 0; k < n; ++k) {
            const ColourCell& cell = range.Cells[size_t(k)];
            if (!cell.IsRegister) continue;
            const ColourCell& from = range.Cells[size_t((k - shift + n) % n)];
            out[cell.Register] = from.IsRegister ? base[from.Register] : from.Colour;
        }
    }
    if (halfBrite) {
        for (int i = 0; i < kHalfBriteColours; ++i) out[kHalfBriteColours + i] = (out[i] >> 1) & 0x7F7F7Fu;
    }
}

int64_t NextCycleChange(const std::vector<ColourRange>& ranges, int64_t micros) {
    int64_t next = -1;
    for (const ColourRange& range : ranges) {
        if (!range.Active) continue;
        // The first whole microsecond at which step k has been made.
        const __int128 k = __int128{CycleSteps(range, micros)} + 1;
        const __int128 at = (k * range.StepNumerator + range.StepDenominator - 1) / range.StepDenominator;
        const int64_t moment = int64_t(std::min<__int128>(at, INT64_MAX));
        if (next < 0 || moment < next) next = moment;
    }
    return next;
}

std::vector<int64_t> CyclePeriodMoments(const std::vector<ColourRange>& ranges, size_t maxFrames, int64_t& periodEnd) {
    std::vector<int64_t> moments{0};
    periodEnd = 0;
    int64_t t = 0;
    while (true) {
        t = NextCycleChange(ranges, t);
        if (t < 0) return moments;
        periodEnd = t;
        // Every range back at its first colours and making its step just now,
        // so that what follows repeats from time 0.
        const bool backAtStart = std::all_of(ranges.begin(), ranges.end(), [&](const ColourRange& r) {
            if (!r.Active) return true;
            const int64_t steps = CycleSteps(r, t);
            return steps % int64_t(r.Cells.size()) == 0 && NextCycleChange({r}, t - 1) == t;
        });
        if (backAtStart || moments.size() >= maxFrames) return moments;
        moments.push_back(t);
    }
}

}  // namespace planora
