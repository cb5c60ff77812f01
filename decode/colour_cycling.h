// Colour cycling: the palette of a picture with CRNG, CCRT or DRNG ranges at
// a moment of its cycling, and the moments at which it changes.
//
// Every active range steps on its own clock, from time 0 when cycling starts:
// after t microseconds it has made floor(t / step time) steps. Each range
// moves the colours that the stored palette holds in its cells (the true
// colours of a DRNG included); ranges are applied in file order, so where two
// ranges share a register the later one's colour shows. The state at a time
// depends on that time alone, so a player that falls behind skips steps
// instead of lagging.
#pragma once

#include <cstdint>
#include <vector>

#include "iff/colour_ranges.h"
#include "iff/picture_context.h"

namespace planora {

// Steps the range has made after `micros` microseconds (0 for an inactive one).
int64_t CycleSteps(const ColourRange& range, int64_t micros);

bool HasActiveRanges(const std::vector<ColourRange>& ranges);

// `base` with every active range moved by its steps at `micros`. With
// halfBrite, colours 32 to 63 follow colours 0 to 31 at half brightness.
void CyclePalette(const std::vector<ColourRange>& ranges, const ColourTable& base, int64_t micros, bool halfBrite,
                  ColourTable& out);

// The first moment after `micros` at which an active range steps; -1 when
// no range is active.
int64_t NextCycleChange(const std::vector<ColourRange>& ranges, int64_t micros);

// The moments at which the palette changes during one full period (until
// every range is back at its start), beginning with 0, at most maxFrames of
// them. periodEnd is the moment the period ends, or where the list was cut.
std::vector<int64_t> CyclePeriodMoments(const std::vector<ColourRange>& ranges, size_t maxFrames, int64_t& periodEnd);

}  // namespace planora
