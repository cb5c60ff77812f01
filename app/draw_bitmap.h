// DrawBitmap: the loaded picture at full size into a picture box, one box
// pixel per picture pixel, image row 1 on the box's top pixel row.
#pragma once

namespace planora {

class PictureBox;
class PictureContext;

// Clears box to its background colour, then writes rows 1..Height, columns
// 0..Width-1 of the ColourImage straight into the box's picture. Pixels that
// fall outside the box are clipped; the box is not resized.
void DrawBitmap(const PictureContext& pic, PictureBox& MyPicture);

}  // namespace planora
