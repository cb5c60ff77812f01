// Large pictures are converted on two threads; the picture must come out
// exactly as when every row is converted in turn, in every mode that takes
// that road and in those that do not.
#include <gtest/gtest.h>

#include "load_util.h"

namespace planora {
namespace {

using test::BodyOptions;
using test::IlbmBuilder;
using test::IndexPicture;
using test::Packing;

IndexPicture Busy(int planes) { return test::BusyPicture(1100, 1000, planes); }
std::vector<uint32_t> Colours(int count) { return test::TestColours(count); }

struct Case {
    const char* name;
    std::vector<uint8_t> file;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    const auto add = [&](const char* name, IlbmBuilder builder) { cases.push_back({name, builder.Bytes()}); };
    add("8 planes, ByteRun1", IlbmBuilder().Bmhd(1100, 1000, 8, 1).Cmap(Colours(256)).Camg(0).Body(
                                  Busy(8), BodyOptions{8, Packing::ByteRun1}));
    add("5 planes raw, no CAMG", IlbmBuilder().Bmhd(1100, 1000, 5).Cmap(Colours(32)).Body(Busy(5), BodyOptions{5}));
    add("HAM6", IlbmBuilder().Bmhd(1100, 1000, 6, 1).Cmap(Colours(16)).Camg(0x800).Body(
                    Busy(6), BodyOptions{6, Packing::ByteRun1}));
    add("HAM8, CAMG after the BODY", IlbmBuilder().Bmhd(1100, 1000, 8, 1).Cmap(Colours(64)).Body(
                                         Busy(8), BodyOptions{8, Packing::ByteRun1}).Camg(0x800));
    add("EHB", IlbmBuilder().Bmhd(1100, 1000, 6).Cmap(Colours(32)).Camg(0x80).Body(Busy(6), BodyOptions{6}));
    // A BODY cut short: the rows past the end come out in colour 0.
    std::vector<uint8_t> cut = IlbmBuilder().Bmhd(1100, 1000, 4, 1).Cmap(Colours(16)).Camg(0).Body(
                                                Busy(4), BodyOptions{4, Packing::ByteRun1}).Bytes();
    cut.resize(cut.size() / 3);
    cases.push_back({"truncated BODY", cut});
    // Per-line palettes keep the row-by-row road; the result must not change.
    std::vector<uint16_t> ctbl(16 * 1000);
    for (size_t i = 0; i < ctbl.size(); ++i) ctbl[i] = uint16_t(i * 37 % 0x1000);
    add("CTBL", IlbmBuilder().Bmhd(1100, 1000, 4).Cmap(Colours(16)).Camg(0).Ctbl(ctbl).Body(Busy(4), BodyOptions{4}));
    // Mapped after the walk: line by line, each line's colours left in the palette.
    const std::vector<uint8_t> pchg = test::PchgData({false, 0, 1000}, {{10, {0x0F00, 0x1F0F}, {}, {}},
                                                                        {700, {0x20F0}, {}, {}}});
    add("PCHG, no CAMG", IlbmBuilder().Bmhd(1100, 1000, 4).Cmap(Colours(16)).Pchg(pchg).Body(Busy(4), BodyOptions{4}));
    add("CTBL, no CAMG", IlbmBuilder().Bmhd(1100, 1000, 4).Cmap(Colours(16)).Ctbl(ctbl).Body(Busy(4), BodyOptions{4}));
    return cases;
}

TEST(ParallelRows, SameResultAsRowByRow) {
    for (const Case& c : Cases()) {
        PictureContext together, oneByOne;
        oneByOne.AllowParallelDecode = false;
        ASSERT_EQ(together.Load_IFF_From_Memory("a.iff", c.file), 1) << c.name;
        ASSERT_EQ(oneByOne.Load_IFF_From_Memory("a.iff", c.file), 1) << c.name;
        EXPECT_TRUE(together.ColourImage == oneByOne.ColourImage) << c.name;
        EXPECT_TRUE(together.ChunkyImage == oneByOne.ChunkyImage) << c.name;
        EXPECT_EQ(together.BodyRowBuffer, oneByOne.BodyRowBuffer) << c.name;
        EXPECT_EQ(together.CurrentRow, oneByOne.CurrentRow) << c.name;
        EXPECT_EQ(together.Palette, oneByOne.Palette) << c.name;
    }
}

// The threads really see the picture: a few pixels against the source.
TEST(ParallelRows, PixelsMatchTheSource) {
    const IndexPicture source = Busy(8);
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("a.iff", IlbmBuilder().Bmhd(1100, 1000, 8, 1).Cmap(Colours(256)).Camg(0)
                                                     .Body(source, BodyOptions{8, Packing::ByteRun1}).Bytes()), 1);
    const std::vector<uint32_t> colours = Colours(256);
    for (int32_t y = 0; y < 1000; y += 37)
        for (int32_t x = 0; x < 1100; x += 41) {
            ASSERT_EQ(pic.ChunkyAt(x, y + 1), source.At(x, y)) << x << "," << y;
            ASSERT_EQ(pic.ColourAt(x, y + 1), colours[source.At(x, y)]) << x << "," << y;
        }
    // Column Width holds index 0, mapped to colour 0.
    EXPECT_EQ(pic.ColourAt(1100, 500), colours[0]);
}

}  // namespace
}  // namespace planora
