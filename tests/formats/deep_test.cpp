// Deep ILBM: 24/32 planes of 8-bit components, 48/64 planes of 16-bit ones.
#include <gtest/gtest.h>

#include "load_util.h"
#include "output/exports.h"

namespace planora {
namespace {
using test::IlbmBuilder;
using test::Packing;

const std::vector<uint32_t> kPixels = {0x00123456, 0x00FFFFFF, 0x00000000, 0x0080FF01, 0x00010203, 0x00FE00FE};

class Deep24 : public ::testing::TestWithParam<Packing> {};

TEST_P(Deep24, ColoursGoStraightToColourImage) {
    const uint8_t packtype = GetParam() == Packing::ByteRun1 ? 1 : 0;
    PictureContext pic;
    // A CMAP and an EHB CAMG are present and must change nothing.
    const auto file = IlbmBuilder().Bmhd(3, 2, 24, packtype).Cmap({0xABCDEF}).Camg(0x80).Body(
        test::EncodeDeepBody(3, 2, kPixels, 24, GetParam()));
    ASSERT_EQ(test::Load(pic, file), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x123456, 0xFFFFFF, 0x000000}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x80FF01, 0x010203, 0xFE00FE}));
    EXPECT_EQ(test::ChunkyRow(pic, 1), std::vector<uint8_t>(3, 0));
    EXPECT_EQ(test::ChunkyRow(pic, 2), std::vector<uint8_t>(3, 0));
    EXPECT_TRUE(pic.AlphaImage.empty());
    EXPECT_FALSE(HasPaletteIndices(pic));
}

INSTANTIATE_TEST_SUITE_P(Packing, Deep24, ::testing::Values(Packing::Raw, Packing::ByteRun1));

TEST(Deep, ThirtyTwoPlanesKeepAlpha) {
    const std::vector<uint32_t> argb = {0xFF102030, 0x00405060, 0x80FFFFFF};
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(3, 1, 32).Body(test::EncodeDeepBody(3, 1, argb, 32, Packing::Raw))), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0x102030, 0x405060, 0xFFFFFF}));
    ASSERT_EQ(pic.AlphaImage.size(), pic.ColourImage.size());
    const size_t row1 = size_t(pic.ImageStride());
    EXPECT_EQ(pic.AlphaImage[row1 + 0], 0xFF);
    EXPECT_EQ(pic.AlphaImage[row1 + 1], 0x00);
    EXPECT_EQ(pic.AlphaImage[row1 + 2], 0x80);
}

// One pixel with 16-bit components: R 0xAB12, G 0x34CD, B 0x00FF (, A 0x7F00).
std::vector<uint8_t> SixteenBitPixel(int planes) {
    const uint32_t components[4] = {0xAB12, 0x34CD, 0x00FF, 0x7F00};
    std::vector<uint8_t> body;
    for (int p = 0; p < planes; ++p) {
        const bool bit = (components[p / 16] >> (p % 16)) & 1;
        body.push_back(bit ? 0x80 : 0x00);  // leftmost pixel of a 2-byte plane row
        body.push_back(0x00);
    }
    return body;
}

TEST(Deep, SixteenBitComponentsKeepTheirHighByte) {
    PictureContext pic48;
    ASSERT_EQ(test::Load(pic48, IlbmBuilder().Bmhd(1, 1, 48).Body(SixteenBitPixel(48))), 1);
    EXPECT_EQ(pic48.ColourAt(0, 1), 0xAB3400u);
    EXPECT_TRUE(pic48.AlphaImage.empty());

    PictureContext pic64;
    ASSERT_EQ(test::Load(pic64, IlbmBuilder().Bmhd(1, 1, 64).Body(SixteenBitPixel(64))), 1);
    EXPECT_EQ(pic64.ColourAt(0, 1), 0xAB3400u);
    ASSERT_FALSE(pic64.AlphaImage.empty());
    EXPECT_EQ(pic64.AlphaImage[size_t(pic64.ImageStride())], 0x7F);
}

TEST(Deep, OtherPlaneCountsAboveEightFail) {
    for (int planes : {9, 16, 23, 25, 31, 33, 47, 63, 65, 255}) {
        PictureContext pic;
        EXPECT_EQ(test::LoadFailure(pic, IlbmBuilder().Bmhd(2, 1, planes).Body(std::vector<uint8_t>(200, 0))), 321)
            << planes;
    }
}

TEST(Deep, PbmAndAcbmAreNeverDeep) {
    PictureContext pic;
    EXPECT_EQ(test::LoadFailure(pic, IlbmBuilder().FormType("PBM ").Bmhd(2, 1, 24).Body(std::vector<uint8_t>(8, 0))), 321);
}

}  // namespace
}  // namespace planora
