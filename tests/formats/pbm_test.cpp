// PBM: chunky rows of one index byte per pixel, padded to even length.
#include <gtest/gtest.h>

#include "load_util.h"

namespace planora {
namespace {
using test::IlbmBuilder;
using test::IndexPicture;
using test::Packing;

// 3 x 2 (odd width: every row has one pad byte).
IndexPicture Picture() { return IndexPicture(3, 2, {0, 1, 2, 3, 2, 1}); }
const std::vector<uint32_t> kColours = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

class PbmRows : public ::testing::TestWithParam<Packing> {};

TEST_P(PbmRows, IndicesAndColours) {
    const uint8_t packtype = GetParam() == Packing::ByteRun1 ? 1 : 0;
    PictureContext pic;
    const auto file = IlbmBuilder().FormType("PBM ").Bmhd(3, 2, 8, packtype).Cmap(kColours).Camg(0).Body(
        test::EncodePbmBody(Picture(), GetParam()));
    ASSERT_EQ(test::Load(pic, file), 1);
    EXPECT_EQ(test::ChunkyRow(pic, 1), (std::vector<uint8_t>{0, 1, 2}));
    EXPECT_EQ(test::ChunkyRow(pic, 2), (std::vector<uint8_t>{3, 2, 1}));
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x000000, 0xFF0000, 0x00FF00}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x0000FF, 0x00FF00, 0xFF0000}));
}

INSTANTIATE_TEST_SUITE_P(Packing, PbmRows, ::testing::Values(Packing::Raw, Packing::ByteRun1));

TEST(Pbm, PadByteIsSkipped) {
    // Raw rows "1 2 pad" and "3 0 pad": the pad (0xEE) must not become a pixel.
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().FormType("PBM ").Bmhd(2, 2, 8).Cmap(kColours).Camg(0).Body(
                                  {1, 2, 3, 0})),
              1);
    EXPECT_EQ(test::ChunkyRow(pic, 2), (std::vector<uint8_t>{3, 0}));
    PictureContext odd;
    ASSERT_EQ(test::Load(odd, IlbmBuilder().FormType("PBM ").Bmhd(1, 2, 8).Cmap(kColours).Camg(0).Body(
                                  {1, 0xEE, 3, 0xEE})),
              1);
    EXPECT_EQ(test::ChunkyRow(odd, 2), (std::vector<uint8_t>{3}));
}

TEST(Pbm, ExtraHalfBriteAppliesAsForIlbm) {
    // Index 33 with CAMG 0x80: half of colour 1 (0xFF0000 -> 0x7F0000).
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().FormType("PBM ").Bmhd(2, 1, 8).Cmap(kColours).Camg(0x80).Body(
                                  {33, 2})),
              1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x7F0000, 0x00FF00}));
}

TEST(Pbm, CtblAppliesAsForIlbm) {
    // CTBL line 1 colour 1 = 0x0F80 -> 0xF08000 (each nibble times 16).
    std::vector<uint16_t> ctbl(16, 0);
    ctbl[1] = 0x0F80;
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().FormType("PBM ").Bmhd(2, 1, 8).Cmap(kColours).Ctbl(ctbl).Body({1, 0})),
              1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0xF08000, 0x000000}));
}

TEST(Pbm, OtherFormTypesAreNotPictures) {
    for (const char* type : {"RGB8", "DEEP", "8SVX", "IMAG", "PBM_"}) {
        PictureContext pic;
        EXPECT_EQ(test::Load(pic, IlbmBuilder().FormType(type).Bmhd(2, 1, 8).Camg(0).Body({1, 0})), 0) << type;
        EXPECT_EQ(pic.PictureLoaded, 0);
    }
}

}  // namespace
}  // namespace planora
