// Colour cycling: ranges read from chunk bytes (well formed and broken) and
// moved by hand-worked numbers of steps at given moments (a fake clock: the
// palette is asked for at a time, nothing waits), and the pictures the
// cycled palette gives. One full period is checked in apng_test.cpp.
#include <gtest/gtest.h>

#include "decode/colour_cycling.h"
#include "motion_support.h"

namespace planora {
namespace {

using Bytes = std::vector<uint8_t>;
ColourRange Crng(Bytes d) { return ReadCrng(d.data(), d.size()); }
ColourRange Crng(int rate, int flags, int low, int high) {
    return Crng({0, 0, uint8_t(rate >> 8), uint8_t(rate), 0, uint8_t(flags), uint8_t(low), uint8_t(high)});
}
ColourRange Ccrt(int direction, int start, int end, uint32_t seconds, uint32_t micros) {
    Bytes d{uint8_t(direction >> 8), uint8_t(direction), uint8_t(start), uint8_t(end)};
    test::PutLong(d, seconds);
    test::PutLong(d, micros);
    return ReadCcrt(d.data(), d.size());
}
// DRNG at 60 steps a second: min, max, then the flags, the true colour cells
// (cell, r, g, b) and the register cells (cell, register).
ColourRange Drng(int low, int high, Bytes cells) {
    cells.insert(cells.begin(), {uint8_t(low), uint8_t(high), 0x40, 0});
    return ReadDrng(cells.data(), cells.size());
}

// Register i holds 0x040404 * (i % 64) at the start, so every register of
// the table differs and halves stay exact.
ColourTable Base() {
    ColourTable base{};
    for (int i = 0; i < kPaletteEntries; ++i) base[size_t(i)] = 0x040404u * uint32_t(i % 64);
    return base;
}

// 60 steps a second (rate 16384): step k at k * 16666.7 us. `changed` holds
// {register, the register whose start colour it shows, or a colour above
// 255}; every other register keeps its colour.
TEST(Cycling, RangesStepAsWorkedOutByHand) {
    const ColourRange gaps = Drng(0, 20, {0, 1, 1, 2, 10, 0xAB, 0xCD, 0xEF, 0, 7, 20, 9});
    const ColourRange revisits = Drng(0, 12, {0, 1, 0, 3, 0, 13, 6, 14, 12, 13});
    const struct { const char* name; std::vector<ColourRange> ranges; int64_t micros; std::vector<std::pair<int, uint32_t>> changed; bool halfBrite = false; } rows[] = {
        {"CRNG forward, 1 step", {Crng(16384, 1, 2, 5)}, 16667, {{2, 5}, {3, 2}, {4, 3}, {5, 4}}},
        {"CRNG forward, just before step 1", {Crng(16384, 1, 2, 5)}, 16666, {}},
        {"CRNG reverse, 2 steps at 30 a second", {Crng(8192, 3, 2, 6)}, 70000, {{2, 4}, {3, 5}, {4, 6}, {5, 2}, {6, 3}}},
        {"CCRT backward, 2 steps of 0.25 s", {Ccrt(-1, 10, 12, 0, 250000)}, 500000, {{10, 12}, {11, 10}, {12, 11}}},
        {"CCRT forward, 1 step of 1 s", {Ccrt(1, 0, 1, 1, 0)}, 1000000, {{0, 1}, {1, 0}}},
        {"CCRT with no time between steps", {Ccrt(1, 0, 3, 0, 0)}, 5000000, {}},
        {"DRNG with gaps and a true colour, 1 step", {gaps}, 16667, {{7, 9}, {9, 0xABCDEF}}},
        {"DRNG with gaps and a true colour, 2 steps", {gaps}, 33334, {{7, 0xABCDEF}, {9, 7}}},
        {"DRNG revisiting 13, 1 step: the later cell wins", {revisits}, 16667, {{13, 14}, {14, 13}}},
        {"DRNG cells outside min..max left out", {Drng(2, 4, {0, 1, 0, 4, 1, 7, 3, 8, 5, 9, 4, 6})}, 16667, {{8, 6}, {6, 8}}},
        {"DRNG of true colours only", {Drng(0, 3, {0, 1, 2, 0, 0, 1, 2, 3, 3, 4, 5, 6})}, 16667, {}},
        {"DRNG claiming 3 register cells with 1 there", {Drng(0, 10, {0, 1, 0, 3, 2, 5})}, 16667, {}},
        {"inactive CRNG", {Crng(16384, 0, 2, 5)}, 16667, {}},
        {"CRNG at rate 0", {Crng(0, 1, 2, 5)}, 16667, {}},
        {"single-register CRNG", {Crng(16384, 1, 4, 4)}, 16667, {}},
        {"CRNG of 5 bytes", {Crng(Bytes{0, 0, 0x40, 0, 0})}, 16667, {}},
        {"two ranges sharing register 4: the later wins", {Crng(16384, 1, 2, 4), Crng(16384, 1, 4, 6)}, 16667,
         {{2, 4}, {3, 2}, {4, 6}, {5, 4}, {6, 5}}},
        // Registers 32 + i hold half of register i, 0x020202 * i, as the moved colours do.
        {"Extra-Half-Brite", {Crng(16384, 1, 2, 3)}, 16667, {{2, 3}, {3, 2}, {34, 0x060606}, {35, 0x040404}}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ColourTable expected = Base(), got{};
        for (int i = 0; i < 32 && row.halfBrite; ++i) expected[size_t(32 + i)] = 0x020202u * uint32_t(i);
        for (const auto& [reg, from] : row.changed) expected[size_t(reg)] = from > 255 ? from : Base()[from];
        CyclePalette(row.ranges, Base(), row.micros, row.halfBrite, got);
        EXPECT_EQ(got, expected);
    }
}

// A HAM6 row remaps from the cycled base colours: base 1, then blue set to
// 5 and red to 3 from it; CRNG 1-2 swaps colours 1 and 2.
TEST(Cycling, HamRowsRemapFromCycledBaseColours) {
    std::vector<uint32_t> cmap(16, 0);
    cmap[1] = 0x102030, cmap[2] = 0xA0B0C0;
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("ham.iff", test::IlbmBuilder().Bmhd(3, 1, 6).Cmap(cmap).Camg(0x800)
                  .Chunk("CRNG", {0, 0, 0x40, 0, 0, 1, 1, 2}).Body({3, 1, {1, 0x10 | 5, 0x20 | 3}}, {6}).Bytes()), 1);
    ColourTable cycled{};
    CyclePalette(pic.ColourRanges, pic.Palette, 16667, false, cycled);
    std::vector<uint32_t> out(size_t(pic.ImageStride()) * size_t(pic.ImageRows()));
    pic.MapPictureWithPalette(cycled, out.data());
    EXPECT_EQ(std::vector<uint32_t>(&out[4], &out[7]), (std::vector<uint32_t>{0xA0B0C0, 0xA0B055, 0x33B055}));
    EXPECT_EQ(pic.ColourAt(2, 1), 0x332055u);  // the stored picture is unchanged
}

// At time 0 the palette is the stored one, and mapping the indices with it
// gives the loaded picture again, line palettes included.
TEST(Cycling, StartIsTheStoredPicture) {
    for (const char* name : {"cycling_skywave4.iff", "cycling_gaza.iff", "ham6_serenity.iff", "ehb_hope.iff",
                             "sham_somnambulist.iff", "pchg_manhattan.iff", "pchg_big_ehb_kde.iff"}) {
        SCOPED_TRACE(name);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(test::DataFile(name)), 1);
        ColourTable start{};
        CyclePalette(pic.ColourRanges, pic.Palette, 0, pic.IlbmInfo.HalfBriteFlag == 1, start);
        const size_t stride = size_t(pic.ImageStride());
        std::vector<uint32_t> out(stride * size_t(pic.ImageRows()));
        pic.MapPictureWithPalette(start, out.data());
        int64_t differing = 0;
        for (int32_t y = 1; y <= pic.IlbmInfo.Height; ++y)
            for (int32_t x = 0; x < pic.IlbmInfo.Width; ++x) differing += out[size_t(y) * stride + size_t(x)] != pic.ColourAt(x, y);
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace
}  // namespace planora
