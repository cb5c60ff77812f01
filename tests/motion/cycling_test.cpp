// Colour cycling: ranges read from chunk bytes (well formed and broken) and
// moved by hand-worked numbers of steps at given moments (a fake clock: the
// palette is asked for at a time, nothing waits), and the pictures the
// cycled palette gives. One full period is checked in apng_test.cpp.
#include <gtest/gtest.h>

#include <optional>

#include "decode/colour_cycling.h"
#include "motion_support.h"

namespace planora {
namespace {

std::vector<uint8_t> Crng(int rate, int flags, int low, int high) {
    return {0, 0, uint8_t(rate >> 8), uint8_t(rate), uint8_t(flags >> 8), uint8_t(flags), uint8_t(low), uint8_t(high)};
}
std::vector<uint8_t> Ccrt(int direction, int start, int end, uint32_t seconds, uint32_t micros) {
    std::vector<uint8_t> d{uint8_t(direction >> 8), uint8_t(direction), uint8_t(start), uint8_t(end)};
    test::PutLong(d, seconds);
    test::PutLong(d, micros);
    return d;
}
// DRNG at 60 steps a second: min, max, flags, then (cell, r, g, b) and (cell, register) cells.
std::vector<uint8_t> Drng(int low, int high, int flags, std::vector<std::array<uint8_t, 4>> colours,
                          std::vector<std::array<uint8_t, 2>> registers) {
    std::vector<uint8_t> d{uint8_t(low), uint8_t(high), 0x40, 0, 0, uint8_t(flags), uint8_t(colours.size()),
                           uint8_t(registers.size())};
    for (const auto& c : colours) d.insert(d.end(), c.begin(), c.end());
    for (const auto& r : registers) d.insert(d.end(), r.begin(), r.end());
    return d;
}

// Base colours: register i holds 0x040404 * (i % 64), so every register of
// the table differs and halves stay exact.
ColourTable Base() {
    ColourTable base{};
    for (int i = 0; i < kPaletteEntries; ++i) base[size_t(i)] = 0x040404u * uint32_t(i % 64);
    return base;
}

TEST(Cycling, RangesStepAsWorkedOutByHand) {
    // 60 steps a second (rate 16384): step k at k * 16666.7 us.
    const std::vector<uint8_t> gaps = Drng(0, 20, 1, {{10, 0xAB, 0xCD, 0xEF}}, {{0, 7}, {20, 9}});
    const std::vector<uint8_t> revisits = Drng(0, 12, 1, {}, {{0, 13}, {6, 14}, {12, 13}});
    // Register reg gets the base colour of register from, or colour.
    struct Expect {
        Expect(int r, int f, std::optional<uint32_t> c = {}) : reg(r), from(f), colour(c) {}
        int reg, from;
        std::optional<uint32_t> colour;
    };
    using Chunks = std::vector<std::pair<std::string, std::vector<uint8_t>>>;
    // Every register not in `changed` keeps its colour.
    const struct { const char* name; Chunks chunks; int64_t micros; bool halfBrite; std::vector<Expect> changed; } rows[] = {
        {"CRNG forward, 1 step", {{"CRNG", Crng(16384, 1, 2, 5)}}, 16667, false, {{2, 5}, {3, 2}, {4, 3}, {5, 4}}},
        {"CRNG forward, just before step 1", {{"CRNG", Crng(16384, 1, 2, 5)}}, 16666, false, {}},
        {"CRNG reverse, 2 steps at 30 a second", {{"CRNG", Crng(8192, 3, 2, 6)}}, 70000, false,
         {{2, 4}, {3, 5}, {4, 6}, {5, 2}, {6, 3}}},
        {"CCRT backward, 2 steps of 0.25 s", {{"CCRT", Ccrt(-1, 10, 12, 0, 250000)}}, 500000, false,
         {{10, 12}, {11, 10}, {12, 11}}},
        {"CCRT forward, 1 step of 1 s", {{"CCRT", Ccrt(1, 0, 1, 1, 0)}}, 1000000, false, {{0, 1}, {1, 0}}},
        {"CCRT with no time between steps", {{"CCRT", Ccrt(1, 0, 3, 0, 0)}}, 5000000, false, {}},
        {"DRNG with gaps and a true colour, 1 step", {{"DRNG", gaps}}, 16667, false, {{7, 9}, {9, 0, 0xABCDEF}}},
        {"DRNG with gaps and a true colour, 2 steps", {{"DRNG", gaps}}, 33334, false, {{7, 0, 0xABCDEF}, {9, 7}}},
        {"DRNG revisiting 13, 1 step: the later cell wins", {{"DRNG", revisits}}, 16667, false, {{13, 14}, {14, 13}}},
        {"DRNG cells outside min..max left out", {{"DRNG", Drng(2, 4, 1, {}, {{1, 7}, {3, 8}, {5, 9}, {4, 6}})}},
         16667, false, {{8, 6}, {6, 8}}},
        {"DRNG of true colours only", {{"DRNG", Drng(0, 3, 1, {{0, 1, 2, 3}, {3, 4, 5, 6}}, {})}}, 16667, false, {}},
        {"DRNG claiming 3 register cells with 1 there", {{"DRNG", {0, 10, 0x40, 0, 0, 1, 0, 3, 2, 5}}}, 16667, false, {}},
        {"inactive CRNG", {{"CRNG", Crng(16384, 0, 2, 5)}}, 16667, false, {}},
        {"CRNG at rate 0", {{"CRNG", Crng(0, 1, 2, 5)}}, 16667, false, {}},
        {"single-register CRNG", {{"CRNG", Crng(16384, 1, 4, 4)}}, 16667, false, {}},
        {"CRNG of 5 bytes", {{"CRNG", {0, 0, 0x40, 0, 0}}}, 16667, false, {}},
        {"two ranges sharing register 4: the later wins", {{"CRNG", Crng(16384, 1, 2, 4)}, {"CRNG", Crng(16384, 1, 4, 6)}},
         16667, false, {{2, 4}, {3, 2}, {4, 6}, {5, 4}, {6, 5}}},
        {"Extra-Half-Brite: colours 32 up follow at half", {{"CRNG", Crng(16384, 1, 2, 3)}}, 16667, true,
         {{2, 3}, {3, 2}, {34, 0, 0x060606}, {35, 0, 0x040404}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<ColourRange> ranges;
        for (const auto& [id, d] : row.chunks)
            ranges.push_back(id == "CRNG" ? ReadCrng(d.data(), d.size())
                             : id == "CCRT" ? ReadCcrt(d.data(), d.size()) : ReadDrng(d.data(), d.size()));
        ColourTable expected = Base();
        // Extra-Half-Brite: register 32 + i holds half of register i, 0x020202 * i.
        for (int i = 0; i < 32 && row.halfBrite; ++i) expected[size_t(32 + i)] = 0x020202u * uint32_t(i);
        for (const Expect& e : row.changed) expected[size_t(e.reg)] = e.colour ? *e.colour : Base()[size_t(e.from)];
        ColourTable got{};
        CyclePalette(ranges, Base(), row.micros, row.halfBrite, got);
        EXPECT_EQ(got, expected);
    }
}

// A HAM6 row remaps from the cycled base colours: base 1, then blue set to
// 5 and red to 3 from it; CRNG 1-2 swaps colours 1 and 2.
TEST(Cycling, HamRowsRemapFromCycledBaseColours) {
    test::IndexPicture row(3, 1, std::vector<uint8_t>{1, 0x10 | 5, 0x20 | 3});
    std::vector<uint32_t> cmap(16, 0);
    cmap[1] = 0x102030, cmap[2] = 0xA0B0C0;
    PictureContext pic;
    const test::IlbmBuilder file = test::IlbmBuilder().Bmhd(3, 1, 6).Cmap(cmap).Camg(0x800);
    ASSERT_EQ(pic.Load_IFF_From_Memory(
                  "ham.iff", test::IlbmBuilder(file).Chunk("CRNG", Crng(16384, 1, 1, 2)).Body(row, {6}).Bytes()),
              1);
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
        std::vector<uint32_t> out(size_t(pic.ImageStride()) * size_t(pic.ImageRows()));
        pic.MapPictureWithPalette(start, out.data());
        int64_t differing = 0;
        for (int32_t y = 1; y <= pic.IlbmInfo.Height; ++y)
            for (int32_t x = 0; x < pic.IlbmInfo.Width; ++x)
                differing += out[size_t(y) * size_t(pic.ImageStride()) + size_t(x)] != pic.ColourAt(x, y);
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace
}  // namespace planora
