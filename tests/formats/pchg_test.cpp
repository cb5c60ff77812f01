// PCHG: palette changes that accumulate down the picture, small (4-bit
// colours times 17) and big (8-bit), plain and Huffman-packed.
#include <gtest/gtest.h>

#include "load_util.h"

namespace planora {
namespace {
using test::BodyOptions;
using test::IlbmBuilder;
using test::IndexPicture;
using test::PchgData;
using test::PchgLine;
using test::PchgOptions;

const std::vector<uint32_t> kCmap = {0x000000, 0x808080, 0x00FF00, 0x0000FF};

// Lines 1 and 3 of lines 1..3 change: line 1 sets colour 1 to 0xF00, line 3
// sets colour 2 to 0x123.
std::vector<uint8_t> TwoSmallLines(bool huffman) {
    return PchgData(PchgOptions{false, 1, 3, huffman}, {PchgLine{1, {0x1F00}, {}, {}}, PchgLine{3, {0x2123}, {}, {}}});
}

void ExpectTwoSmallLines(const PictureContext& pic) {
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x808080, 0x00FF00}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0xFF0000, 0x00FF00}));
    // Line 2 has no changes of its own: line 1's colours hold.
    EXPECT_EQ(test::ColourRow(pic, 3), (std::vector<uint32_t>{0xFF0000, 0x00FF00}));
    EXPECT_EQ(test::ColourRow(pic, 4), (std::vector<uint32_t>{0xFF0000, 0x112233}));
}

TEST(Pchg, SmallChangesAccumulateDownThePicture) {
    PictureContext pic;
    const IndexPicture picture(2, 4, {1, 2, 1, 2, 1, 2, 1, 2});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(2, 4, 2).Camg(0).Pchg(TwoSmallLines(false)).Cmap(kCmap)
                                  .Body(picture, BodyOptions{2})),
              1);
    ExpectTwoSmallLines(pic);
    // The file's colours stay as loaded.
    EXPECT_EQ(pic.Palette[1], 0x808080u);
    EXPECT_EQ(pic.FilePalette[2], 0x00FF00u);
    EXPECT_EQ(pic.IlbmInfo.DynamicPaletteFlag, 1);
    const auto lines = pic.ImageInfoLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), DetailLine{"Mode:", "Dynamic Palette"}), lines.end());
}

TEST(Pchg, HuffmanPackedDataGivesTheSamePicture) {
    const auto packed = TwoSmallLines(true);
    ASSERT_EQ(packed[1], 1);  // Compression 1
    for (bool camgFirst : {true, false}) {
        PictureContext pic;
        IlbmBuilder file;
        file.Bmhd(2, 4, 2);
        if (camgFirst) file.Camg(0);
        file.Cmap(kCmap).Pchg(packed).Body(IndexPicture(2, 4, {1, 2, 1, 2, 1, 2, 1, 2}), BodyOptions{2});
        if (!camgFirst) file.Camg(0);  // rows mapped after the walk
        ASSERT_EQ(test::Load(pic, file), 1);
        ExpectTwoSmallLines(pic);
    }
}

TEST(Pchg, UpperRegistersAndHalfBriteHalves) {
    // Count32 words change registers 16-31: 0x1ABC sets register 17. In an
    // Extra-Half-Brite picture a change to register 1 also gives colour 33
    // its half: 0xFFF -> 0xFFFFFF, half 0x7F7F7F.
    PictureContext pic;
    const auto pchg = PchgData(PchgOptions{false, 0, 1, false}, {PchgLine{0, {0x1FFF}, {0x1ABC}, {}}});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(3, 1, 6).Camg(0x80).Cmap(kCmap).Pchg(pchg)
                                  .Body(IndexPicture(3, 1, {1, 17, 33}), BodyOptions{6})),
              1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0xFFFFFF, 0xAABBCC, 0x7F7F7F}));
    EXPECT_EQ(pic.FilePalette[33], 0x404040u);  // CMAP colour 1 halved
}

TEST(Pchg, BigChangesAreEightBitInAlphaRedBlueGreenOrder) {
    // Register 3 on line 0; register 40 on line 1; register 300 does not exist.
    PictureContext pic;
    const auto pchg = PchgData(PchgOptions{true, 0, 2, false},
                               {PchgLine{0, {}, {}, {{3, 0x99, 0x12, 0x56, 0x34}}},
                                PchgLine{1, {}, {}, {{40, 0, 0xAB, 0xCD, 0xEF}, {300, 0, 1, 2, 3}}}});
    // Stored order: register, alpha, red, blue, green.
    EXPECT_EQ((std::vector<uint8_t>(pchg.begin() + 26, pchg.begin() + 32)),
              (std::vector<uint8_t>{0, 3, 0x99, 0x12, 0x34, 0x56}));
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(2, 2, 6).Camg(0).Cmap(kCmap).Pchg(pchg)
                                  .Body(IndexPicture(2, 2, {3, 40, 3, 40}), BodyOptions{6})),
              1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x125634, 0x000000}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x125634, 0xABCDEF}));
}

TEST(Pchg, HamSixHoldsFromTheChangedColours) {
    // Row 1: colour 1 (CMAP 0x808080), then "red = 5" -> 0x558080.
    // Row 2: line 1 sets colour 1 to 0x00F: 0x0000FF, then "green = A" -> 0x00AAFF.
    PictureContext pic;
    const auto pchg = PchgData(PchgOptions{false, 1, 1, false}, {PchgLine{1, {0x100F}, {}, {}}});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(2, 2, 6).Camg(0x800).Cmap(kCmap).Pchg(pchg)
                                  .Body(IndexPicture(2, 2, {1, 0x25, 1, 0x3A}), BodyOptions{6})),
              1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x808080, 0x558080}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x0000FF, 0x00AAFF}));
}

TEST(Pchg, LinesAboveThePictureChangeTheFirstRow) {
    // Lines -2 and 0 change colour 1; the later line wins on row 1.
    PictureContext pic;
    const auto pchg =
        PchgData(PchgOptions{false, -2, 3, false}, {PchgLine{-2, {0x1F00, 0x20F0}, {}, {}}, PchgLine{0, {0x100F}, {}, {}}});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(2, 1, 2).Camg(0).Cmap(kCmap).Pchg(pchg)
                                  .Body(IndexPicture(2, 1, {1, 2}), BodyOptions{2})),
              1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x0000FF, 0x00FF00}));
}

TEST(Pchg, WholeLinePalettesOfShamTakePrecedence) {
    std::vector<uint16_t> sham(16, 0);
    sham[1] = 0x0123;
    for (bool pchgFirst : {true, false}) {
        PictureContext pic;
        IlbmBuilder file;
        file.Bmhd(1, 1, 1).Camg(0).Cmap(kCmap);
        const auto pchg = PchgData(PchgOptions{false, 0, 1, false}, {PchgLine{0, {0x1F00}, {}, {}}});
        if (pchgFirst) file.Pchg(pchg).Sham(sham);
        else file.Sham(sham).Pchg(pchg);
        ASSERT_EQ(test::Load(pic, file.Body(IndexPicture(1, 1, 1), BodyOptions{1})), 1);
        EXPECT_EQ(pic.ColourAt(0, 1), 0x112233u) << pchgFirst;
    }
}

TEST(Pchg, ChangesDoNotCarryIntoTheNextLoad) {
    PictureContext pic;
    const auto pchg = PchgData(PchgOptions{false, 0, 1, false}, {PchgLine{0, {0x1F00}, {}, {}}});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 1).Camg(0).Cmap(kCmap).Pchg(pchg).Body(IndexPicture(1, 1, 1), BodyOptions{1})), 1);
    EXPECT_EQ(pic.ColourAt(0, 1), 0xFF0000u);
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 1).Camg(0).Cmap(kCmap).Body(IndexPicture(1, 1, 1), BodyOptions{1})), 1);
    EXPECT_EQ(pic.ColourAt(0, 1), 0x808080u);
    EXPECT_EQ(pic.IlbmInfo.DynamicPaletteFlag, 0);
}

// Broken chunks: every one loads, reads nothing outside the chunk and changes
// only what its readable data says.
TEST(Pchg, BrokenChunksChangeNothingTheyCannotRead) {
    const auto good = PchgData(PchgOptions{false, 0, 1, false}, {PchgLine{0, {0x1F00}, {}, {}}});
    auto unknownCompression = good;
    unknownCompression[1] = 7;
    auto noFlags = good;
    noFlags[3] = 0;
    // The mask says line 0 changes, but the chunk ends after the mask.
    const std::vector<uint8_t> truncated(good.begin(), good.begin() + 24);
    // A line that claims 255 + 255 changes, with one word there.
    auto manyCounts = good;
    manyCounts[24] = 0xFF;
    manyCounts[25] = 0xFF;
    // Big changes with a count of 65535 and nothing after it.
    auto bigCount = PchgData(PchgOptions{true, 0, 1, false}, {PchgLine{0, {}, {}, {}}});
    bigCount[24] = 0xFF;
    bigCount[25] = 0xFF;
    // A Huffman tree of words that jump far before its first word, so that no
    // path reaches a leaf.
    auto badTree = PchgData(PchgOptions{false, 0, 1, true}, {PchgLine{0, {0x1F00}, {}, {}}});
    const uint32_t treeBytes = uint32_t(badTree[22]) << 8 | badTree[23];
    for (uint32_t i = 0; i < treeBytes; i += 2) {
        badTree[28 + i] = 0x80;
        badTree[28 + i + 1] = 0x00;
    }
    // A Huffman header whose tree is longer than the chunk.
    auto longTree = badTree;
    longTree[20] = 0x7F;
    // Only part of a header.
    const std::vector<uint8_t> shortHeader(good.begin(), good.begin() + 10);

    struct Case {
        const char* name;
        std::vector<uint8_t> data;
        uint32_t colour;
    };
    const Case cases[] = {
        {"unknown compression", unknownCompression, 0x808080},
        {"no change kind in Flags", noFlags, 0x808080},
        {"truncated after the mask", truncated, 0x808080},
        // The one word there, 0x1F00, changes colour 1; the chunk ends after it.
        {"counts beyond the data", manyCounts, 0xFF0000},
        {"big count beyond the data", bigCount, 0x808080},
        {"tree pointing outside itself", badTree, 0x808080},
        {"tree longer than the chunk", longTree, 0x808080},
        {"short header", shortHeader, 0x808080},
    };
    for (const Case& c : cases) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 2, 1).Camg(0).Cmap(kCmap).Pchg(c.data)
                                      .Body(IndexPicture(1, 2, 1), BodyOptions{1})),
                  1)
            << c.name;
        EXPECT_EQ(pic.ColourAt(0, 1), c.colour) << c.name;
        EXPECT_EQ(pic.ColourAt(0, 2), c.colour) << c.name;
    }
}

}  // namespace
}  // namespace planora
