// Colour cycling: ranges read from chunk bytes and moved by hand-worked
// numbers of steps at given moments (a fake clock: the palette is asked for
// at a time, nothing waits), the moments of one full period, and the
// pictures the cycled palette gives (HAM rows remapped from the new base
// colours; at time 0 the stored picture itself).
#include <gtest/gtest.h>

#include <optional>

#include "decode/colour_cycling.h"
#include "ilbm_builder.h"

namespace planora {
namespace {

std::string DataFile(const std::string& name) { return std::string(PLANORA_TEST_DATA) + "/" + name; }

std::vector<uint8_t> Crng(int rate, int flags, int low, int high) {
    return {0, 0, uint8_t(rate >> 8), uint8_t(rate), uint8_t(flags >> 8), uint8_t(flags), uint8_t(low), uint8_t(high)};
}
std::vector<uint8_t> Ccrt(int direction, int start, int end, uint32_t seconds, uint32_t micros) {
    std::vector<uint8_t> d{uint8_t(direction >> 8), uint8_t(direction), uint8_t(start), uint8_t(end)};
    test::PutLong(d, seconds);
    test::PutLong(d, micros);
    d.insert(d.end(), {0, 0});
    return d;
}

ColourRange Read(const std::string& id, const std::vector<uint8_t>& d) {
    return id == "CRNG" ? ReadCrng(d.data(), d.size()) : id == "CCRT" ? ReadCcrt(d.data(), d.size())
                                                                      : ReadDrng(d.data(), d.size());
}

// Base colours: register i holds 0x040404 * (i % 64), so every register of
// the table differs and halves stay exact.
ColourTable Base() {
    ColourTable base{};
    for (int i = 0; i < kPaletteEntries; ++i) base[size_t(i)] = 0x040404u * uint32_t(i % 64);
    return base;
}

// A register's expected colour: the base colour of another register, or a
// colour given outright.
struct Expect {
    int reg;
    int from;                       // register whose base colour arrives
    std::optional<uint32_t> colour; // or this colour
};

TEST(Cycling, RangesStepAsWorkedOutByHand) {
    // 60 steps a second (rate 16384): step k at k * 16666.7 us.
    const std::vector<uint8_t> drngGaps{0, 20, 0x40, 0x00, 0, 1, 1, 2,
                                        10, 0xAB, 0xCD, 0xEF,  // true colour at cell 10
                                        0, 7, 20, 9};          // registers 7 and 9 at cells 0 and 20
    const std::vector<uint8_t> drngTrueOnly{0, 3, 0x40, 0x00, 0, 1, 2, 0, 0, 1, 2, 3, 3, 4, 5, 6};
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::vector<uint8_t>>> chunks;
        int64_t micros;
        bool halfBrite;
        std::vector<Expect> changed;  // all other registers keep their colour
    } rows[] = {
        {"CRNG forward, 1 step", {{"CRNG", Crng(16384, 1, 2, 5)}}, 16667, false,
         {{2, 5, {}}, {3, 2, {}}, {4, 3, {}}, {5, 4, {}}}},
        {"CRNG forward, just before step 1", {{"CRNG", Crng(16384, 1, 2, 5)}}, 16666, false, {}},
        {"CRNG reverse, 2 steps at 30 a second", {{"CRNG", Crng(8192, 3, 2, 6)}}, 70000, false,
         {{2, 4, {}}, {3, 5, {}}, {4, 6, {}}, {5, 2, {}}, {6, 3, {}}}},
        {"CRNG after 10 s: 600 steps of 3 registers, back at the start", {{"CRNG", Crng(16384, 1, 0, 2)}},
         10000000, false, {}},
        {"CCRT backward, 2 steps of 0.25 s", {{"CCRT", Ccrt(-1, 10, 12, 0, 250000)}}, 500000, false,
         {{10, 12, {}}, {11, 10, {}}, {12, 11, {}}}},
        {"CCRT forward, 1 step of 1 s", {{"CCRT", Ccrt(1, 0, 1, 1, 0)}}, 1000000, false, {{0, 1, {}}, {1, 0, {}}}},
        {"CCRT direction 0", {{"CCRT", Ccrt(0, 0, 1, 1, 0)}}, 5000000, false, {}},
        {"DRNG with gaps, 1 step", {{"DRNG", drngGaps}}, 16667, false, {{7, 9, {}}, {9, 0, 0xABCDEF}}},
        {"DRNG with gaps, 2 steps", {{"DRNG", drngGaps}}, 33334, false, {{7, 0, 0xABCDEF}, {9, 7, {}}}},
        {"DRNG of true colours only", {{"DRNG", drngTrueOnly}}, 16667, false, {}},
        {"inactive CRNG", {{"CRNG", Crng(16384, 0, 2, 5)}}, 16667, false, {}},
        {"CRNG at rate 0", {{"CRNG", Crng(0, 1, 2, 5)}}, 16667, false, {}},
        {"single-register CRNG", {{"CRNG", Crng(16384, 1, 4, 4)}}, 16667, false, {}},
        {"two ranges sharing register 4: the later wins",
         {{"CRNG", Crng(16384, 1, 2, 4)}, {"CRNG", Crng(16384, 1, 4, 6)}}, 16667, false,
         {{2, 4, {}}, {3, 2, {}}, {4, 6, {}}, {5, 4, {}}, {6, 5, {}}}},
        {"Extra-Half-Brite: colours 32 up follow at half", {{"CRNG", Crng(16384, 1, 2, 3)}}, 16667, true,
         {{2, 3, {}}, {3, 2, {}}, {34, 0, 0x060606}, {35, 0, 0x040404}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<ColourRange> ranges;
        for (const auto& [id, data] : row.chunks) ranges.push_back(Read(id, data));
        ColourTable expected = Base();
        // Extra-Half-Brite: register 32 + i holds half of register i, 0x020202 * i.
        if (row.halfBrite)
            for (int i = 0; i < 32; ++i) expected[size_t(32 + i)] = 0x020202u * uint32_t(i);
        for (const Expect& e : row.changed) expected[size_t(e.reg)] = e.colour ? *e.colour : Base()[size_t(e.from)];
        ColourTable got{};
        CyclePalette(ranges, Base(), row.micros, row.halfBrite, got);
        EXPECT_EQ(got, expected);
    }
}

TEST(Cycling, MomentsOfOneFullPeriod) {
    // 3 registers at 60 steps a second and 2 at 30: every 1/60 s something
    // moves; both are back at the start after 12 steps of the first (6 of
    // the second), at 0.2 s.
    const std::vector<ColourRange> ranges{ReadCrng(Crng(16384, 1, 0, 2).data(), 8),
                                          ReadCrng(Crng(8192, 1, 4, 5).data(), 8)};
    int64_t end = 0;
    EXPECT_EQ(CyclePeriodMoments(ranges, 600, end),
              (std::vector<int64_t>{0, 16667, 33334, 50000, 66667, 83334, 100000, 116667, 133334, 150000, 166667,
                                    183334}));
    EXPECT_EQ(end, 200000);
    // The cap cuts the list; the period then ends where it was cut.
    EXPECT_EQ(CyclePeriodMoments(ranges, 4, end), (std::vector<int64_t>{0, 16667, 33334, 50000}));
    EXPECT_EQ(end, 66667);
    EXPECT_EQ(NextCycleChange({ReadCrng(Crng(16384, 0, 0, 2).data(), 8)}, 0), -1);
}

TEST(Cycling, CorpusRangesAreReadAsStored) {
    // gaza: CRNG 22-30 and 15-21 reversed at 2560; DRNG at 4608 with
    // register 13 at cells 0 and 12 and register 14 at cell 6; DRNG at 3072
    // with registers 31, 5, 12, 31 at cells 0, 3, 6, 8.
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(DataFile("cycling_gaza.iff")), 1);
    ASSERT_EQ(pic.ColourRanges.size(), 4u);
    const int64_t rateMicros = int64_t{16384} * 1000000;
    auto regs = [](std::initializer_list<int> list) {
        std::vector<ColourCell> cells;
        for (int r : list) cells.push_back({true, uint8_t(r), 0});
        return cells;
    };
    const struct { bool reverse; int rate; std::vector<ColourCell> cells; } expected[] = {
        {true, 2560, regs({22, 23, 24, 25, 26, 27, 28, 29, 30})},
        {true, 2560, regs({15, 16, 17, 18, 19, 20, 21})},
        {false, 4608, regs({13, 14, 13})},
        {false, 3072, regs({31, 5, 12, 31})},
    };
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const ColourRange& r = pic.ColourRanges[i];
        EXPECT_TRUE(r.Active);
        EXPECT_EQ(r.Reverse, expected[i].reverse);
        EXPECT_EQ(r.StepNumerator, rateMicros);
        EXPECT_EQ(r.StepDenominator, 60 * expected[i].rate);
        EXPECT_EQ(r.Cells, expected[i].cells);
    }
}

// A HAM6 row remaps from the cycled base colours: base 1 at x 0, then blue
// set to 5 and red to 3 from it.
TEST(Cycling, HamRowsRemapFromCycledBaseColours) {
    test::IndexPicture row(3, 1);
    row.At(0, 0) = 1;
    row.At(1, 0) = 0x10 | 5;  // modify blue
    row.At(2, 0) = 0x20 | 3;  // modify red
    std::vector<uint32_t> cmap(16, 0);
    cmap[1] = 0x102030;
    cmap[2] = 0xA0B0C0;
    const std::vector<uint8_t> file = test::IlbmBuilder()
                                          .Bmhd(3, 1, 6)
                                          .Cmap(cmap)
                                          .Camg(0x800)
                                          .Chunk("CRNG", Crng(16384, 1, 1, 2))
                                          .Body(row, {6, test::Packing::Raw})
                                          .Bytes();
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("ham.iff", file), 1);
    ColourTable cycled{};
    CyclePalette(pic.ColourRanges, pic.Palette, 16667, false, cycled);
    std::vector<uint32_t> out(size_t(pic.ImageStride()) * size_t(pic.ImageRows()));
    pic.MapPictureWithPalette(cycled, out.data());
    const uint32_t* got = &out[size_t(pic.ImageStride())];
    EXPECT_EQ(std::vector<uint32_t>(got, got + 3), (std::vector<uint32_t>{0xA0B0C0, 0xA0B055, 0x33B055}));
    EXPECT_EQ(pic.ColourAt(2, 1), 0x332055u);  // the stored picture is unchanged
}

// At time 0 the cycled palette is the stored one, and mapping the indices
// with it gives the loaded picture again, line palettes included.
TEST(Cycling, StartIsTheStoredPicture) {
    for (const char* name : {"cycling_skywave4.iff", "cycling_gaza.iff", "ham6_serenity.iff", "ehb_hope.iff",
                             "sham_somnambulist.iff", "pchg_manhattan.iff", "pchg_big_ehb_kde.iff"}) {
        SCOPED_TRACE(name);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(DataFile(name)), 1);
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

namespace planora {
namespace {

// Broken and odd range chunks, read by the load: the exact ranges they give.
TEST(Cycling, MalformedRangeChunks) {
    auto regs = [](std::initializer_list<int> list) {
        std::vector<ColourCell> cells;
        for (int r : list) cells.push_back({true, uint8_t(r), 0});
        return cells;
    };
    const struct {
        const char* name;
        std::string id;
        std::vector<uint8_t> data;
        uint32_t declared;  // the chunk's length as stored; past the file's end when larger
        bool active;
        std::vector<ColourCell> cells;
    } rows[] = {
        {"CRNG of 5 bytes: no flags, no registers", "CRNG", {0, 0, 0x40, 0, 0}, 5, false, {}},
        {"CRNG with low above high", "CRNG", {0, 0, 0x40, 0, 0, 1, 10, 5}, 8, false, {}},
        {"CRNG cut by the end of the file", "CRNG", {0, 0, 0x40, 0, 0, 1}, 8, false, {}},
        {"DRNG claiming 3 register cells with 1 present", "DRNG", {0, 10, 0x40, 0, 0, 1, 0, 3, 2, 5}, 10, false,
         regs({5})},
        {"DRNG cells outside min..max left out", "DRNG", {2, 4, 0x40, 0, 0, 1, 0, 4, 1, 7, 3, 8, 5, 9, 4, 6}, 16, true,
         regs({8, 6})},
        {"CCRT with no time between steps", "CCRT", {0, 1, 0, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 14, false,
         regs({0, 1, 2, 3})},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::IlbmBuilder file;
        file.Bmhd(4, 1, 2).Cmap({0, 0x111111, 0x222222, 0x333333}).Body(test::IndexPicture(4, 1), {2, test::Packing::Raw});
        if (row.declared > row.data.size())
            file.ChunkWithLength(row.id, row.declared, row.data);
        else
            file.Chunk(row.id, row.data);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory("ranges.iff", file.Bytes()), 1);
        ASSERT_EQ(pic.ColourRanges.size(), 1u);
        EXPECT_EQ(pic.ColourRanges[0].Active, row.active);
        EXPECT_EQ(pic.ColourRanges[0].Cells, row.cells);
    }
}

}  // namespace
}  // namespace planora
