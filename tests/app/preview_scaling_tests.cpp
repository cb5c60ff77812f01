// Halving a large picture before the preview stretch: 2 x 2 box averages,
// rounded, per channel, and only in the directions that are at least twice
// the target.
#include <QImage>

#include <gtest/gtest.h>

#include "preview_scaling.h"

namespace planora::test {
namespace {

TEST(PreviewScaling, HalvingAveragesTwoByTwoPerChannel) {
    QImage image(4, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, 0xFF000000);
    image.setPixel(1, 0, 0xFFFFFFFF);
    image.setPixel(0, 1, 0xFF102030);
    image.setPixel(1, 1, 0xFF302010);
    image.setPixel(2, 0, 0xFF010203);
    image.setPixel(3, 0, 0xFF010203);
    image.setPixel(2, 1, 0xFF010203);
    image.setPixel(3, 1, 0xFF020304);
    const QImage half = HalveImage(image, true, true);
    ASSERT_EQ(half.size(), QSize(2, 1));
    // Red (0 + 255 + 0x10 + 0x30) / 4 = 79.75 -> 80 (0x50); green (0 + 255 +
    // 0x20 + 0x20) / 4 = 79.75 -> 0x50; blue (0 + 255 + 0x30 + 0x10) / 4 -> 0x50.
    EXPECT_EQ(half.pixel(0, 0), 0xFF505050u);
    // (1 + 1 + 1 + 2) / 4 = 1.25 -> 1, (2 + 2 + 2 + 3) / 4 = 2.25 -> 2, 3.25 -> 3.
    EXPECT_EQ(half.pixel(1, 0), 0xFF010203u);
}

TEST(PreviewScaling, OneDirectionAndOddSizes) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(0xFF000000);
    image.setPixel(0, 0, 0xFFFF0000);
    image.setPixel(1, 0, 0xFF00FF00);
    image.setPixel(2, 0, 0xFF0000FF);  // the odd last column is dropped
    const QImage half = HalveImage(image, true, false);
    ASSERT_EQ(half.size(), QSize(1, 2));
    // (255 + 0) / 2 = 127.5 -> 128 for red and green.
    EXPECT_EQ(half.pixel(0, 0), 0xFF808000u);
    EXPECT_EQ(half.pixel(0, 1), 0xFF000000u);
}

TEST(PreviewScaling, ShrinksOnlyWhileTwiceTheTarget) {
    const QImage big(4096, 600, QImage::Format_RGB32);
    // Width: 4096 -> 2048 -> 1024 -> 512 (below 640); height: 600 -> 300
    // (below 512) in the first pass only.
    EXPECT_EQ(ShrinkTowards(big, QSize(320, 256)).size(), QSize(512, 300));
    const QImage small(320, 200, QImage::Format_RGB32);
    EXPECT_EQ(ShrinkTowards(small, QSize(320, 256)).size(), QSize(320, 200));
}

}  // namespace
}  // namespace planora::test
