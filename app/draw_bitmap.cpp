#include "draw_bitmap.h"

#include <algorithm>

#include "iff/picture_context.h"
#include "picture_box.h"

namespace planora {

void DrawBitmap(const PictureContext& pic, PictureBox& MyPicture) {
    MyPicture.Cls();
    QImage& target = MyPicture.Picture();
    // The arrays keep the shape of the last load; never read past them.
    const int width = std::min({pic.IlbmInfo.Width, pic.ImageStride() - 1, target.width()});
    const int height = std::min({pic.IlbmInfo.Height, pic.ImageRows() - 1, target.height()});
    for (int y = 1; y <= height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y - 1));
        for (int x = 0; x < width; ++x) {
            // RGB24 is already Qt's 0x00RRGGBB; only the alpha byte is added.
            line[x] = 0xFF000000u | (pic.ColourAt(x, y) & 0xFFFFFFu);
        }
    }
    MyPicture.update();
}

}  // namespace planora
