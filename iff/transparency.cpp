// Transparency: which pixels a picture marks as see-through.
//
//   BMHD Masking 1  a mask plane row follows the bitplane rows of every image
//                   row; a set bit is an opaque pixel, a clear bit a
//                   transparent one
//   BMHD Masking 2  pixels whose index equals TransparentColour are transparent
//   32 and 64 plane deep pictures carry alpha planes (decode/deep_body.cpp)
//
// The mask plane and the deep alpha go into AlphaImage; masking 2 is read from
// the ChunkyImage when asked. Only the converter's PNG output shows alpha:
// the BMP and raw outputs are the ColourImage as it is.
#include <new>

#include "decode/picture_view.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
constexpr uint8_t kOpaque = 255;
constexpr uint8_t kTransparent = 0;
}  // namespace

void PictureContext::AllocateAlphaImage(uint8_t fill) {
    const size_t elements = ColourImage.size();
    // The picture arrays' budget, now with one more byte per element.
    const int64_t bytes = int64_t(elements) * int64_t(sizeof(uint32_t) + 2 * sizeof(uint8_t));
    if (bytes > ImageByteBudget) throw RunTimeError(kOutOfMemory);
    try {
        AlphaImage.assign(elements, fill);
    } catch (const std::bad_alloc&) {
        AlphaImage = {};
        throw RunTimeError(kOutOfMemory);
    }
}

void PictureContext::KeepMaskRow(int32_t row) {
    if (AlphaImage.size() != ColourImage.size()) AllocateAlphaImage(kTransparent);
    const uint8_t* mask = &BodyRowBuffer[size_t(IlbmInfo.Bitplanes) * (size_t(RowBytes) + 1)];
    uint8_t* alpha = &AlphaImage[size_t(row) * size_t(imageStride_)];
    for (int32_t x = 0; x < IlbmInfo.Width; ++x)
        alpha[x] = (mask[size_t(x) >> 3] >> (7 - (x & 7))) & 1 ? kOpaque : kTransparent;
}

// The rule lives in the picture view, which the writers read.
bool PictureContext::HasAlpha() const { return ViewOf(*this).HasAlpha(); }

uint8_t PictureContext::AlphaAt(int32_t x, int32_t y) const {
    const PictureView view = ViewOf(*this);
    return y >= 1 && y <= view.Height && x >= 0 && x < view.Width ? view.AlphaAt(x, y - 1) : kOpaque;
}

}  // namespace planora
