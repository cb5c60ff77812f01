#include "output/rgb_image.h"

#include "iff/picture_context.h"

namespace planora {

RgbImage PictureToRgb(const PictureContext& pic) {
    RgbImage image;
    image.Width = pic.IlbmInfo.Width;
    image.Height = pic.IlbmInfo.Height;
    image.Alpha = pic.HasAlpha();
    image.Pixels.resize(size_t(image.Width) * size_t(image.Height) * size_t(image.Channels()));
    uint8_t* out = image.Pixels.data();
    // Picture rows are 1-based in the arrays, columns 0-based.
    for (int32_t y = 1; y <= image.Height; ++y) {
        for (int32_t x = 0; x < image.Width; ++x) {
            const uint32_t colour = pic.ColourAt(x, y);
            *out++ = uint8_t(colour >> 16);
            *out++ = uint8_t(colour >> 8);
            *out++ = uint8_t(colour);
            if (image.Alpha) *out++ = pic.AlphaAt(x, y);
        }
    }
    return image;
}

}  // namespace planora
