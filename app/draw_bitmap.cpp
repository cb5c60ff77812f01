#include "draw_bitmap.h"

#include <algorithm>
#include <bit>

#include "decode/row_sharing.h"
#include "picture_box.h"

namespace planora {

void DrawBitmap(const PictureView& picture, PictureBox& MyPicture) {
    const int width = std::min(picture.Width, MyPicture.InnerWidth());
    const int height = std::min(picture.Height, MyPicture.InnerHeight());
    // A large picture that fills the box is shown from its own rows: their
    // RGB24 words are Qt's RGB32 pixels, one row after another at the
    // view's stride. The box lets go of them at its next Cls, before the
    // arrays are made anew for another picture.
    if (std::endian::native == std::endian::little && MyPicture.ShowsPixelsInPlace() &&
        width == MyPicture.InnerWidth() && height == MyPicture.InnerHeight() &&
        int64_t{width} * height >= kParallelPixels) {
        const qsizetype stride = qsizetype(picture.Stride) * 4;
        MyPicture.ShowPixelsInPlace(QImage(reinterpret_cast<const uchar*>(picture.Colours), width, height, stride,
                                           QImage::Format_RGB32));
        return;
    }
    // Cleared to the background first; the picture's own area is then drawn
    // over completely, so only the rest needs the fill.
    MyPicture.ClsOutside(QRect(0, 0, std::max(width, 0), std::max(height, 0)));
    QImage& target = MyPicture.Picture();
    uchar* const bits = target.bits();  // detached once, before the rows are shared out
    const qsizetype bytesPerLine = target.bytesPerLine();
    const auto drawRow = [&](int32_t y) {
        auto* line = reinterpret_cast<QRgb*>(bits + (y - 1) * bytesPerLine);
        const uint32_t* colours = picture.Row(y - 1);
        // RGB24 is already Qt's 0x00RRGGBB; only the alpha byte is added.
        for (int x = 0; x < width; ++x) line[x] = 0xFF000000u | (colours[x] & 0xFFFFFFu);
    };
    ForEachRow(height, int64_t{width} * height, drawRow);
    MyPicture.update();
}

}  // namespace planora
