// Clearing a picture box: the fill waits for the next use of the picture, and
// whatever that use is, the box must look exactly as if it had been filled at
// once, in the colour the background had when it was cleared.
#include <QImage>

#include <gtest/gtest.h>

#include "picture_box.h"

namespace planora::test {
namespace {

const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kYellow = qRgb(255, 255, 0);

// Every pixel of the rectangle has the colour.
bool AllPixels(const QImage& image, const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != colour) return false;
    return true;
}

// A 40 x 30 box painted red all over, then cleared with a blue background.
struct ClearedBox {
    PictureBox box;
    ClearedBox() {
        box.SetInnerSize(40, 30);
        box.Picture().fill(kRed);
        box.SetBackColor(kBlue);
        box.Cls();
    }
};

TEST(PictureBoxClear, ReadsAsFilledInTheColourOfTheClear) {
    ClearedBox cleared;
    cleared.box.SetBackColor(kYellow);  // after the clear: must not matter
    const PictureBox& box = cleared.box;
    EXPECT_TRUE(AllPixels(box.Picture(), QRect(0, 0, 40, 30), kBlue));
}

TEST(PictureBoxClear, SinglePixelsAndTextGoOnTheClearedPicture) {
    ClearedBox cleared;
    cleared.box.SetPixel(5, 6, kWhite);
    const QImage& picture = cleared.box.Picture();
    EXPECT_EQ(picture.pixel(5, 6), kWhite);
    EXPECT_EQ(picture.pixel(4, 6), kBlue);
    EXPECT_TRUE(AllPixels(picture, QRect(0, 10, 40, 20), kBlue));

    ClearedBox printed;
    printed.box.SetForeColor(Qt::white);
    printed.box.Print("Hi");
    const QImage& text = printed.box.Picture();
    bool anyText = false, anyRed = false;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            anyText |= text.pixel(x, y) != kBlue;
            anyRed |= text.pixel(x, y) == kRed;
        }
    EXPECT_TRUE(anyText);
    EXPECT_FALSE(anyRed);
}

TEST(PictureBoxClear, PictureDrawnOverPartOfTheBox) {
    ClearedBox cleared;
    // As a picture is drawn: the rest filled, the covered part written over.
    cleared.box.ClsOutside(QRect(0, 0, 25, 20));
    QImage& picture = cleared.box.Picture();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 25; ++x) picture.setPixel(x, y, kWhite);
    EXPECT_TRUE(AllPixels(picture, QRect(0, 0, 25, 20), kWhite));
    EXPECT_TRUE(AllPixels(picture, QRect(25, 0, 15, 30), kBlue));
    EXPECT_TRUE(AllPixels(picture, QRect(0, 20, 25, 10), kBlue));
}

TEST(PictureBoxClear, GrowingAfterAClearKeepsNothingOfTheOldPicture) {
    ClearedBox sameColour;
    sameColour.box.SetInnerSize(60, 50);
    EXPECT_TRUE(AllPixels(sameColour.box.Picture(), QRect(0, 0, 60, 50), kBlue));

    // The old area in the colour of the clear, the new area in today's.
    ClearedBox otherColour;
    otherColour.box.SetBackColor(kYellow);
    otherColour.box.SetInnerSize(60, 50);
    const QImage& picture = otherColour.box.Picture();
    EXPECT_TRUE(AllPixels(picture, QRect(0, 0, 40, 30), kBlue));
    EXPECT_TRUE(AllPixels(picture, QRect(40, 0, 20, 50), kYellow));
    EXPECT_TRUE(AllPixels(picture, QRect(0, 30, 40, 20), kYellow));
}

TEST(PictureBoxClear, StretchedCopyOfAClearedBox) {
    ClearedBox source;
    PictureBox target;
    target.SetInnerSize(20, 15);
    target.Picture().fill(kRed);
    target.PaintPicture(source.box, 0, 0, 20, 15);
    EXPECT_TRUE(AllPixels(target.Picture(), QRect(0, 0, 20, 15), kBlue));
}

}  // namespace
}  // namespace planora::test
