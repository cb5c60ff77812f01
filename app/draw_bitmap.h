// DrawBitmap: a picture at full size into a picture box, one box pixel per
// picture pixel, the picture's top row on the box's top pixel row.
#pragma once

#include "decode/picture_view.h"

namespace planora {

class PictureBox;

// Clears box to its background colour, then writes the picture's rows
// straight into the box's picture. Pixels that fall outside the box are
// clipped; the box is not resized.
void DrawBitmap(const PictureView& picture, PictureBox& MyPicture);

}  // namespace planora
