#include "iff/colour_ranges.h"

#include <algorithm>

namespace planora {

namespace {
// 16384 is 60 steps a second: one step every 16384 * 10^6 / (60 * rate) us.
constexpr int64_t kRateMicros = int64_t{16384} * 1000000;
constexpr int64_t kStepsPerSecondAtUnitRate = 60;
constexpr int kRangeActive = 1;
constexpr int kRangeReverse = 2;

struct Bytes {
    const uint8_t* data;
    size_t length;
    uint32_t Byte(size_t i) const { return i < length ? data[i] : 0u; }
    int32_t Word(size_t i) const { return int16_t(uint16_t((Byte(i) << 8) | Byte(i + 1))); }
    uint32_t Long(size_t i) const { return (uint32_t(Word(i)) << 16) | (uint32_t(Word(i + 2)) & 0xFFFF); }
};

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

ColourRange ReadCrng(const uint8_t* data, size_t length) {
    const Bytes in{data, length};
    ColourRange range;
    const int32_t flags = in.Word(4);
    range.Active = (flags & kRangeActive) != 0;
    range.Reverse = (flags & kRangeReverse) != 0;
    SetRate(range, in.Word(2));
    AddRegisters(range, in.Byte(6), in.Byte(7));
    if (range.Cells.size() < 2) range.Active = false;
    return range;
}

ColourRange ReadCcrt(const uint8_t* data, size_t length) {
    const Bytes in{data, length};
    ColourRange range;
    const int32_t direction = in.Word(0);
    range.Active = direction != 0;
    range.Reverse = direction < 0;
    const int64_t micros = int64_t{in.Long(4)} * 1000000 + int64_t{in.Long(8)};
    range.StepNumerator = micros > 0 ? micros : 1;
    if (micros <= 0) range.Active = false;
    AddRegisters(range, in.Byte(2), in.Byte(3));
    if (range.Cells.size() < 2) range.Active = false;
    return range;
}

ColourRange ReadDrng(const uint8_t* data, size_t length) {
    const Bytes in{data, length};
    ColourRange range;
    const uint32_t low = in.Byte(0), high = in.Byte(1);
    const int32_t flags = in.Word(4);
    range.Active = (flags & kRangeActive) != 0;
    range.Reverse = (flags & kRangeReverse) != 0;
    SetRate(range, in.Word(2));
    const uint32_t trueCells = in.Byte(6), registerCells = in.Byte(7);
    // (cell number, cell); cells outside min..max or past the chunk are left out.
    std::vector<std::pair<uint32_t, ColourCell>> cells;
    size_t pos = 8;
    for (uint32_t i = 0; i < trueCells; ++i, pos += 4) {
        if (pos + 4 > length) break;
        const uint32_t cell = in.Byte(pos);
        const uint32_t rgb = (in.Byte(pos + 1) << 16) | (in.Byte(pos + 2) << 8) | in.Byte(pos + 3);
        if (cell >= low && cell <= high) cells.push_back({cell, {false, 0, rgb}});
    }
    for (uint32_t i = 0; i < registerCells; ++i, pos += 2) {
        if (pos + 2 > length) break;
        const uint32_t cell = in.Byte(pos);
        if (cell >= low && cell <= high) cells.push_back({cell, {true, uint8_t(in.Byte(pos + 1)), 0}});
    }
    std::stable_sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& c : cells) range.Cells.push_back(c.second);
    if (range.Cells.size() < 2 || !HasRegister(range)) range.Active = false;
    return range;
}

}  // namespace planora
