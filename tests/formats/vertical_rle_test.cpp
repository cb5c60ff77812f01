// Compression 2: VDAT chunks filling each plane word column by word column.
#include <gtest/gtest.h>

#include "load_util.h"

namespace planora {
namespace {
using test::IlbmBuilder;

std::vector<uint8_t> Bits(const std::vector<uint8_t>& bytes, int width) {
    std::vector<uint8_t> bits;
    for (int x = 0; x < width; ++x) bits.push_back((bytes[size_t(x / 8)] >> (7 - x % 8)) & 1);
    return bits;
}

std::vector<uint8_t> Indices(const std::vector<uint8_t>& plane0, const std::vector<uint8_t>& plane1) {
    std::vector<uint8_t> out;
    const auto b0 = Bits(plane0, 32), b1 = Bits(plane1, 32);
    for (size_t i = 0; i < b0.size(); ++i) out.push_back(uint8_t(b0[i] + 2 * b1[i]));
    return out;
}

// 32 x 3, two planes: two word columns of three words per plane.
std::vector<uint8_t> TwoPlaneBody() {
    std::vector<uint8_t> body;
    // Plane 0: repeat 0xFF00 three times (column 0), copy 0x0001 0x8000
    // (column 1, rows 1-2), then count 1: copy 0xAAAA (column 1, row 3).
    const auto plane0 = test::VdatChunk({3, -2, 0}, {0xFF00, 0x0001, 0x8000, 0x0001, 0xAAAA});
    // Plane 1: count 6, repeat 0x0F0F.
    const auto plane1 = test::VdatChunk({1}, {0x0006, 0x0F0F});
    body.insert(body.end(), plane0.begin(), plane0.end());
    body.insert(body.end(), plane1.begin(), plane1.end());
    return body;
}

TEST(VerticalRle, WordsGoDownTheColumns) {
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(32, 3, 2, 2).Cmap({0, 0x0000FF, 0x00FF00, 0xFF0000}).Camg(0).Body(
                                  TwoPlaneBody())),
              1);
    const std::vector<uint8_t> plane1 = {0x0F, 0x0F, 0x0F, 0x0F};
    EXPECT_EQ(test::ChunkyRow(pic, 1), Indices({0xFF, 0x00, 0x00, 0x01}, plane1));
    EXPECT_EQ(test::ChunkyRow(pic, 2), Indices({0xFF, 0x00, 0x80, 0x00}, plane1));
    EXPECT_EQ(test::ChunkyRow(pic, 3), Indices({0xFF, 0x00, 0xAA, 0xAA}, plane1));
    EXPECT_EQ(pic.ColourAt(0, 1), 0x0000FFu);   // index 1
    EXPECT_EQ(pic.ColourAt(4, 1), 0xFF0000u);   // index 3
    EXPECT_EQ(pic.ColourAt(31, 1), 0xFF0000u);  // index 3
}

TEST(VerticalRle, RunsPastThePlaneEndAndShortDataAreSafe) {
    // A repeat of 127 words into a plane of 2 words, then a copy whose data is missing.
    std::vector<uint8_t> body = test::VdatChunk({127, -100}, {0x8001});
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(16, 2, 1, 2).Cmap({0, 0xFFFFFF}).Camg(0).Body(body)), 1);
    const std::vector<uint8_t> expected = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    EXPECT_EQ(test::ChunkyRow(pic, 1), expected);
    EXPECT_EQ(test::ChunkyRow(pic, 2), expected);
}

TEST(VerticalRle, MissingPlanesReadAsZero) {
    // Two planes declared, one VDAT present: plane 1 is all zeros.
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(16, 1, 2, 2).Camg(0).Body(test::VdatChunk({1}, {1, 0xFFFF}))), 1);
    EXPECT_EQ(test::ChunkyRow(pic, 1), std::vector<uint8_t>(16, 1));
}

}  // namespace
}  // namespace planora
