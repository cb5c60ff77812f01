// Shrinking a large picture before the smooth stretch into the preview. Each
// halving averages 2 x 2 pixels (a box filter, as a smooth downscale does),
// so a 4096 x 4096 picture reaches the 320 x 256 preview after a few cheap
// passes and the final smooth stretch only sees a small image.
#pragma once

#include <QImage>
#include <QSize>

namespace planora {

// Halves the image in each direction while it stays at least twice the
// target in that direction. An odd last row or column is dropped by a
// halving. Images already small enough come back unchanged.
QImage ShrinkTowards(const QImage& source, QSize target);

// One halving: width and height divided by two (rounded down), each pixel the
// rounded average of its 2 x 2 source pixels, every channel. halveX/halveY
// choose the directions.
QImage HalveImage(const QImage& source, bool halveX, bool halveY);

}  // namespace planora
