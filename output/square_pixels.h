// A picture as its display showed it: its pixels made square
// (decode/display_shape.h) by the area-averaging scaler.
#pragma once

#include "decode/display_shape.h"
#include "decode/picture_view.h"
#include "output/scaled_picture.h"

namespace planora {

// `picture` itself when its pixels are square already, else its enlargement,
// kept in `held`. Throws std::bad_alloc when that does not fit in memory.
PictureView SquarePixels(const PictureView& picture, PixelAspect aspect, ScaledPicture& held);

}  // namespace planora
