// Scaling a picture by area averaging: down for thumbnails, and up along
// one side to make its pixels square (decode/display_shape.h).
#pragma once

#include <cstdint>
#include <utility>

#include "decode/picture_view.h"
#include "output/scaled_picture.h"

namespace planora {

// The size of a thumbnail whose larger side is at most maxSide: the picture's
// own size when it fits, else the larger side becomes maxSide and the other
// follows in proportion, rounded, at least 1.
std::pair<int32_t, int32_t> ThumbnailSize(int32_t width, int32_t height, int32_t maxSide);

// The picture scaled to width x height, each side smaller or larger.
// Every output pixel is the average of the source area it covers, partly
// covered source pixels counting by the share they cover. Pictures with
// transparency are averaged with colours weighted by their opacity, so that
// transparent pixels lend no colour to their neighbours.
ScaledPicture ScalePicture(const PictureView& picture, int32_t width, int32_t height);

}  // namespace planora
