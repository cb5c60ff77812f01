// SHAM: per-line palettes for colours 0-15, 4-bit components times 17.
#include <gtest/gtest.h>

#include "load_util.h"

namespace planora {
namespace {
using test::BodyOptions;
using test::IlbmBuilder;
using test::IndexPicture;

// Palette lines of 16 words with only colour 1 set.
std::vector<uint16_t> Lines(const std::vector<uint16_t>& colourOne) {
    std::vector<uint16_t> words;
    for (uint16_t c : colourOne) {
        std::vector<uint16_t> line(16, 0);
        line[1] = c;
        words.insert(words.end(), line.begin(), line.end());
    }
    return words;
}

TEST(Sham, EachRowTakesItsOwnLine) {
    PictureContext pic;
    const IndexPicture picture(2, 2, {1, 2, 1, 2});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(2, 2, 2).Cmap({0, 0x808080, 0x00FF00}).Camg(0).Sham(Lines({0x0F00, 0x0123}))
                                  .Body(picture, BodyOptions{2})),
              1);
    // Colour 2 comes from the line as well (0 there), not from the CMAP.
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0xFF0000, 0x000000}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x112233, 0x000000}));
    EXPECT_EQ(pic.IlbmInfo.DynamicPaletteFlag, 1);
    const auto lines = pic.ImageInfoLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), DetailLine{"Mode:", "Dynamic Palette"}), lines.end());
}

TEST(Sham, HamSixHoldsFromTheLinePalette) {
    // Row 1: colour 1 (line 1: 0xF00 -> 0xFF0000), then "red = 5" -> 0x550000.
    // Row 2: colour 1 (line 2: 0x00F -> 0x0000FF), then "green = A" -> 0x00AAFF.
    PictureContext pic;
    const IndexPicture picture(2, 2, {1, 0x25, 1, 0x3A});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(2, 2, 6).Camg(0x800).Cmap({0, 0x808080}).Sham(Lines({0x0F00, 0x000F}))
                                  .Body(picture, BodyOptions{6})),
              1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0xFF0000, 0x550000}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x0000FF, 0x00AAFF}));
}

TEST(Sham, InterlacedPictureUsesOneLineForTwoRows) {
    PictureContext pic;
    const IndexPicture picture(1, 4, 1);
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 4, 1).Camg(0x4).Sham(Lines({0x0123, 0x0FED})).Body(picture, BodyOptions{1})),
              1);
    EXPECT_EQ(pic.ColourAt(0, 1), 0x112233u);
    EXPECT_EQ(pic.ColourAt(0, 2), 0x112233u);
    EXPECT_EQ(pic.ColourAt(0, 3), 0xFFEEDDu);
    EXPECT_EQ(pic.ColourAt(0, 4), 0xFFEEDDu);
}

TEST(Sham, ShortChunkLeavesLaterRowsBlack) {
    // One line for a two-row, non-interlaced picture; a chunk too short for a version word.
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 2, 1).Camg(0).Sham(Lines({0x0FFF})).Body(IndexPicture(1, 2, 1), BodyOptions{1})),
              1);
    EXPECT_EQ(pic.ColourAt(0, 1), 0xFFFFFFu);
    EXPECT_EQ(pic.ColourAt(0, 2), 0x000000u);
    PictureContext tiny;
    ASSERT_EQ(test::Load(tiny, IlbmBuilder().Bmhd(1, 1, 1).Camg(0).Chunk("SHAM", {0}).Body(IndexPicture(1, 1, 1), BodyOptions{1})),
              1);
    EXPECT_EQ(tiny.ColourAt(0, 1), 0x000000u);
}

}  // namespace
}  // namespace planora
