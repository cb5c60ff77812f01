#include "iff/colour_ranges.h"

#include <algorithm>

#include "iff/byte_reader.h"

namespace planora {

namespace {
// 16384 is 60 steps a second: one step every 16384 * 10^6 / (60 * rate) us.
constexpr int64_t kRateMicros = int64_t{16384} * 1000000;
constexpr int64_t kStepsPerSecondAtUnitRate = 60;
constexpr int kRangeActive = 1;
constexpr int kRangeReverse = 2;

int32_t SignedWordAt(const ByteReader& in, int64_t pos) { return int16_t(uint16_t(in.WordAt(pos))); }

void SetRate(ColourRange& range, int32_t rate) {
    range.StepNumerator = kRateMicros;
    range.StepDenominator = rate > 0 ? kStepsPerSecondAtUnitRate * rate : 1;
    if (rate <= 0) range.Active = false;
}

void AddRegisters(ColourRange& range, uint32_t low, uint32_t high) {
    for (uint32_t r = low; r <= high && low < high; ++r) range.Cells.push_back({true, uint8_t(r), 0});
}

bool HasRegister(const ColourRange& range) {
    return std::any_of(range.Cells.begin(), range.Cells.end(), [](const ColourCell& c) { return c.IsRegister; });
}
}  // namespace

ColourRange ReadCrng(ByteSpan data) {
    const ByteReader in(data);
    ColourRange range;
    const int32_t flags = SignedWordAt(in, 4);
    range.Active = (flags & kRangeActive) != 0;
    range.Reverse = (flags & kRangeReverse) != 0;
    SetRate(range, SignedWordAt(in, 2));
    AddRegisters(range, in.ByteAt(6), in.ByteAt(7));
    if (range.Cells.size() < 2) range.Active = false;
    return range;
}

ColourRange ReadCcrt(ByteSpan data) {
    const ByteReader in(data);
    ColourRange range;
    const int32_t direction = SignedWordAt(in, 0);
    range.Active = direction != 0;
    range.Reverse = direction < 0;
    const int64_t micros = int64_t{in.LongAt(4)} * 1000000 + int64_t{in.LongAt(8)};
    range.StepNumerator = micros > 0 ? micros : 1;
    if (micros <= 0) range.Active = false;
    AddRegisters(range, in.ByteAt(2), in.ByteAt(3));
    if (range.Cells.size() < 2) range.Active = false;
    return range;
}

ColourRange ReadDrng(ByteSpan data) {
    const ByteReader in(data);
    ColourRange range;
    const uint32_t low = in.ByteAt(0), high = in.ByteAt(1);
    const int32_t flags = SignedWordAt(in, 4);
    range.Active = (flags & kRangeActive) != 0;
    range.Reverse = (flags & kRangeReverse) != 0;
    SetRate(range, SignedWordAt(in, 2));
    const uint32_t trueCells = in.ByteAt(6), registerCells = in.ByteAt(7);
    // (cell number, cell); cells outside min..max or past the chunk are left out.
    std::vector<std::pair<uint32_t, ColourCell>> cells;
    ByteReader cellData(data);
    cellData.Seek(8);
    for (uint32_t i = 0; i < trueCells && cellData.Left() >= 4; ++i) {
        const uint32_t cell = cellData.Byte();
        const uint32_t rgb = cellData.Item(3);
        if (cell >= low && cell <= high) cells.push_back({cell, {false, 0, rgb}});
    }
    for (uint32_t i = 0; i < registerCells && cellData.Left() >= 2; ++i) {
        const uint32_t cell = cellData.Byte();
        const uint8_t colourRegister = cellData.Byte();
        if (cell >= low && cell <= high) cells.push_back({cell, {true, colourRegister, 0}});
    }
    std::stable_sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& c : cells) range.Cells.push_back(c.second);
    if (range.Cells.size() < 2 || !HasRegister(range)) range.Active = false;
    return range;
}

}  // namespace planora
