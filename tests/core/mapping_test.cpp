// Palette mapping: ordinary, Extra-Half-Brite, HAM6, HAM8 and the
// dynamic-palette step, mapped during decoding or after the walk.
#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "load_util.h"

namespace planora {
namespace {

using test::IlbmBuilder;
using test::IndexPicture;

IndexPicture Rows(std::vector<std::vector<uint8_t>> rows) {
    IndexPicture p(int32_t(rows[0].size()), int32_t(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x) p.At(int32_t(x), int32_t(y)) = rows[y][x];
    return p;
}

// A picture with its BMHD, CMAP, CAMG (optional) and BODY; camgFirst puts the
// CAMG before the BODY, else after it.
IlbmBuilder Picture(const IndexPicture& picture, int planes, const std::vector<uint32_t>& cmap,
                    std::optional<uint32_t> camg, bool camgFirst = true, const std::vector<uint16_t>& ctbl = {}) {
    IlbmBuilder b;
    b.Bmhd(picture.Width, picture.Height, planes).Cmap(cmap);
    if (!ctbl.empty()) b.Ctbl(ctbl);
    if (camg && camgFirst) b.Camg(*camg);
    b.Body(picture, {.Planes = planes});
    if (camg && !camgFirst) b.Camg(*camg);
    return b;
}

TEST(Mapping, OrdinaryPalette) {
    const std::vector<uint32_t> cmap = {0x102030, test::kRed, test::kGreen, test::kBlue};
    for (bool camgFirst : {true, false}) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, Picture(Rows({{0, 1, 2, 3}, {3, 3, 0, 1}}), 2, cmap, 0u, camgFirst)), 1);
        EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x102030, test::kRed, test::kGreen, test::kBlue}));
        EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{test::kBlue, test::kBlue, 0x102030, test::kRed}));
        EXPECT_EQ(pic.ColourAt(4, 1), 0x102030u);
        EXPECT_EQ(pic.ColourAt(4, 2), 0x102030u);
        EXPECT_EQ(pic.ColourAt(0, 0), 0u);
    }
}

TEST(Mapping, ExtraHalfBrite) {
    std::vector<uint32_t> cmap(32, 0x080808);
    cmap[0] = MakeRGB24(255, 128, 1);
    cmap[31] = MakeRGB24(11, 200, 99);
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, Picture(Rows({{0, 32, 31, 63, 1, 33}}), 6, cmap, 0x80u)), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{MakeRGB24(255, 128, 1), MakeRGB24(127, 64, 0),
                                                              MakeRGB24(11, 200, 99), MakeRGB24(5, 100, 49),
                                                              0x080808, 0x040404}));
}

TEST(Mapping, Ham6WorkedExample) {
    // Base colour 0 black: 0x21 sets red 0x11, 0x3F green 0xFF, 0x15 blue 0x55.
    std::vector<uint32_t> cmap(16, 0);
    cmap[2] = 0xABCDEF;
    for (bool camgFirst : {true, false}) {
        PictureContext pic;
        const IndexPicture rows = Rows({{0x21, 0x3F, 0x15, 0x02, 0x1F, 0x2A},
                                        {0x15, 0x00, 0x3A, 0x0F, 0x10, 0x20}});
        ASSERT_EQ(test::Load(pic, Picture(rows, 6, cmap, 0x800u, camgFirst)), 1);
        EXPECT_EQ(pic.IlbmInfo.DisplayMode, 2);
        EXPECT_EQ(test::ColourRow(pic, 1),
                  (std::vector<uint32_t>{0x110000, 0x11FF00, 0x11FF55, 0xABCDEF, 0xABCDFF, 0xAACDFF}));
        // Every row starts again from colour 0.
        EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x000055, 0x000000, 0x00AA00, 0x000000, 0x000000, 0x000000}));
    }
}

TEST(Mapping, Ham8WorkedExample) {
    // Colour 5 is red 0x12, green 0x34, blue 0x57. 0x41 gives blue 0x07 (new
    // top six bits 000001, low bits 11 kept); 0xBF red 0xFC + 0x02; 0xC1
    // green 0x04 + 0x00.
    std::vector<uint32_t> cmap(64, 0);
    cmap[0] = 0x0000FF;
    cmap[5] = 0x123457;
    cmap[63] = 0x445566;
    for (bool camgFirst : {true, false}) {
        PictureContext pic;
        const IndexPicture rows = Rows({{5, 0x41, 0xBF, 0xC1, 63}, {0x41, 0x80, 0xFF, 0x7F, 0}});
        ASSERT_EQ(test::Load(pic, Picture(rows, 8, cmap, 0x800u, camgFirst)), 1);
        EXPECT_EQ(pic.IlbmInfo.DisplayMode, 3);
        EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x123457, 0x123407, 0xFE3407, 0xFE0407, 0x445566}));
        // From colour 0 (blue 0xFF): blue 0x04 + 0x03; red 0x00 + 0; green 0xFC + 0; blue 0xFC + 0x03.
        EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x000007, 0x000007, 0x00FC07, 0x00FCFF, 0x0000FF}));
    }
}

TEST(Mapping, HamBitOnFivePlanesIsOrdinary) {
    std::vector<uint32_t> cmap(32);
    for (size_t i = 0; i < 32; ++i) cmap[i] = MakeRGB24(uint8_t(i), uint8_t(i * 2), uint8_t(i * 3));
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, Picture(Rows({{0x15, 0x1F, 0x10}}), 5, cmap, 0x800u)), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{cmap[0x15], cmap[0x1F], cmap[0x10]}));
}

TEST(Mapping, Ham6RowsRestartFromTheirCtblLine) {
    std::vector<uint16_t> ctbl(32, 0);
    ctbl[0] = 0x0F00;       // line 0, colour 0: red 0xF0
    ctbl[1] = 0x0123;
    ctbl[16 + 0] = 0x000F;  // line 1, colour 0: blue 0xF0
    ctbl[16 + 1] = 0x0321;
    std::vector<uint32_t> cmap(16, 0x777777);
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, Picture(Rows({{0x15, 0x01, 0x2F}, {0x15, 0x01, 0x3E}, {0x15, 0x01, 0x02}}), 6, cmap,
                                      0x800u, true, ctbl)), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0xF00055, 0x102030, 0xFF2030}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x000055, 0x302010, 0x30EE10}));
    // Row 3 has no CTBL line: colours 0..15 are black.
    EXPECT_EQ(test::ColourRow(pic, 3), (std::vector<uint32_t>{0x000055, 0x000000, 0x000000}));
}

TEST(Mapping, Ham8HasNoDynamicPaletteStep) {
    std::vector<uint32_t> cmap(64, 0);
    cmap[1] = 0x101010;
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, Picture(Rows({{1, 0x41}}), 8, cmap, 0x800u, true, std::vector<uint16_t>(16, 0x0F0F))), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x101010, 0x101004}));
}

TEST(Mapping, CtblShorterThanThePicture) {
    // 200 rows, 100 CTBL lines: rows 101..200 map 0..15 to black; 16 and up
    // still come from the CMAP.
    std::vector<uint16_t> ctbl(100 * 16, 0x0468);
    std::vector<uint32_t> cmap(32, 0x00AA00);
    IndexPicture picture(2, 200);
    for (int32_t y = 0; y < 200; ++y) {
        picture.At(0, y) = 3;
        picture.At(1, y) = 16;
    }
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, Picture(picture, 5, cmap, 0u, true, ctbl)), 1);
    for (int32_t r : {1, 50, 100}) EXPECT_EQ(test::ColourRow(pic, r), (std::vector<uint32_t>{0x406080, 0x00AA00})) << r;
    for (int32_t r : {101, 150, 200}) EXPECT_EQ(test::ColourRow(pic, r), (std::vector<uint32_t>{0, 0x00AA00})) << r;
}

}  // namespace
}  // namespace planora
