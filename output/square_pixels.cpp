#include "output/square_pixels.h"

#include "output/thumbnail.h"

namespace planora {

PictureView SquarePixels(const PictureView& picture, PixelAspect aspect, ScaledPicture& held) {
    const DisplaySize shown = DisplaySizeOf(picture.Width, picture.Height, aspect);
    if (shown.Axis == ScaledAxis::None) return picture;
    held = ScalePicture(picture, shown.Width, shown.Height);
    return held.View();
}

}  // namespace planora
