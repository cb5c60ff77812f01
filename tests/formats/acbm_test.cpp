// ACBM: whole bitplanes one after another in an ABIT chunk.
#include <gtest/gtest.h>

#include "load_util.h"

namespace planora {
namespace {
using test::IlbmBuilder;
using test::IndexPicture;

const std::vector<uint32_t> kColours = {0x000000, 0x110000, 0x002200, 0x000033,
                                        0x440000, 0x005500, 0x000066, 0x777777};

TEST(Acbm, ContiguousPlanesBecomeRows) {
    // 5 x 2, 3 planes: ABIT = plane 0 rows 1-2, plane 1 rows 1-2, plane 2 rows 1-2 (2 bytes each).
    //   row 1: 1 2 4 7 0      row 2: 6 5 3 0 7
    const std::vector<uint8_t> abit = {
        0x90, 0x00, 0x68, 0x00,  // plane 0: row 1 10010 (x0, x3), row 2 01101 (x1, x2, x4)
        0x50, 0x00, 0xA8, 0x00,  // plane 1: row 1 01010 (x1, x3), row 2 10101 (x0, x2, x4)
        0x30, 0x00, 0xC8, 0x00,  // plane 2: row 1 00110 (x2, x3), row 2 11001 (x0, x1, x4)
    };
    EXPECT_EQ(abit, test::EncodeAbit(IndexPicture(5, 2, {1, 2, 4, 7, 0, 6, 5, 3, 0, 7}), 3));
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().FormType("ACBM").Bmhd(5, 2, 3).Cmap(kColours).Camg(0).Chunk("ABIT", abit)),
              1);
    EXPECT_EQ(test::ChunkyRow(pic, 1), (std::vector<uint8_t>{1, 2, 4, 7, 0}));
    EXPECT_EQ(test::ChunkyRow(pic, 2), (std::vector<uint8_t>{6, 5, 3, 0, 7}));
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x110000, 0x002200, 0x440000, 0x777777, 0x000000}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x000066, 0x005500, 0x000033, 0x000000, 0x777777}));
}

TEST(Acbm, ShortAbitGivesZeros) {
    // Only plane 0 of row 1 is present: row 1 takes bit 0, everything else 0.
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().FormType("ACBM").Bmhd(4, 2, 2).Cmap(kColours).Camg(0).Chunk("ABIT", {0xA0, 0x00})),
              1);
    EXPECT_EQ(test::ChunkyRow(pic, 1), (std::vector<uint8_t>{1, 0, 1, 0}));
    EXPECT_EQ(test::ChunkyRow(pic, 2), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST(Acbm, BodyIsIgnoredInAcbmAndAbitInIlbm) {
    PictureContext acbm;
    ASSERT_EQ(test::Load(acbm, IlbmBuilder().FormType("ACBM").Bmhd(8, 1, 1).Cmap(kColours).Camg(0).Body({0xFF, 0xFF})), 1);
    EXPECT_EQ(test::ChunkyRow(acbm, 1), std::vector<uint8_t>(8, 0));
    PictureContext ilbm;
    ASSERT_EQ(test::Load(ilbm, IlbmBuilder().Bmhd(8, 1, 1).Cmap(kColours).Camg(0).Chunk("ABIT", {0xFF, 0xFF})), 1);
    EXPECT_EQ(test::ChunkyRow(ilbm, 1), std::vector<uint8_t>(8, 0));
}

}  // namespace
}  // namespace planora
