// The word-at-a-time row conversion gives exactly what the plain bit-by-bit
// rule gives, for every plane count and for widths that end mid-byte.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "decode/planar_rows.h"

namespace planora {
namespace {

TEST(PlanarRows, WordConversionEqualsBitByBit) {
    std::mt19937 random(20261206);
    for (int32_t planes = 1; planes <= 8; ++planes) {
        for (int32_t width : {1, 7, 8, 9, 15, 16, 17, 100, 319, 320, 1023}) {
            const size_t stride = size_t((width + 15) / 16 * 2 + 1);
            std::vector<uint8_t> rows(stride * size_t(planes + 1));
            for (auto& b : rows) b = uint8_t(random());
            std::vector<uint8_t> fastChunky(size_t(width) + 1, 0xEE), plainChunky(size_t(width) + 1, 0xEE);
            std::vector<uint32_t> fastColours(size_t(width) + 1, 0xEEEE), plainColours(size_t(width) + 1, 0xEEEE);
            ConvertPlaneRows(rows.data(), stride, planes, width, fastChunky.data(), fastColours.data());
            ConvertPlaneRowsBitByBit(rows.data(), stride, planes, width, plainChunky.data(), plainColours.data());
            EXPECT_EQ(fastChunky, plainChunky) << planes << " planes, width " << width;
            EXPECT_EQ(fastColours, plainColours) << planes << " planes, width " << width;
            // Nothing is written past the width.
            EXPECT_EQ(fastChunky[size_t(width)], 0xEE);
            EXPECT_EQ(fastColours[size_t(width)], 0xEEEEu);
        }
    }
}

// The plain rule itself, on the classic example: one plane byte 0xA5 gives
// pixels 1, 0, 1, 0, 0, 1, 0, 1.
TEST(PlanarRows, BitByBitReadsBitSevenAsTheLeftmostPixel) {
    const uint8_t rows[] = {0xA5, 0x00, 0x00};
    uint8_t chunky[8];
    uint32_t colours[8];
    ConvertPlaneRowsBitByBit(rows, 3, 1, 8, chunky, colours);
    EXPECT_EQ(std::vector<uint8_t>(chunky, chunky + 8), (std::vector<uint8_t>{1, 0, 1, 0, 0, 1, 0, 1}));
}

}  // namespace
}  // namespace planora
