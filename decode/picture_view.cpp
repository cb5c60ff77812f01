#include "decode/picture_view.h"

#include <algorithm>

#include "iff/picture_context.h"

namespace planora {

namespace {
constexpr int32_t kMaskingTransparentColour = 2;
}

PictureView ViewOf(const PictureContext& pic, const uint32_t* colours) {
    PictureView view;
    const size_t stride = size_t(std::max(pic.ImageStride(), 0));
    const size_t elements = stride * size_t(std::max(pic.ImageRows(), 0));
    // The arrays keep the shape of the last load: never reach past them.
    if (elements == 0 || pic.ColourImage.size() < elements) return view;
    view.Width = std::clamp(pic.IlbmInfo.Width, 0, pic.ImageStride() - 1);
    view.Height = std::clamp(pic.IlbmInfo.Height, 0, pic.ImageRows() - 1);
    view.Stride = stride;
    view.Colours = colours + stride;
    if (!pic.AlphaImage.empty() && pic.AlphaImage.size() == pic.ColourImage.size()) {
        view.AlphaPlane = pic.AlphaImage.data() + stride;
    } else if (pic.IlbmInfo.Masking == kMaskingTransparentColour && !pic.IsDeepPicture()) {
        view.TransparentIndex = true;
        view.TransparentColour = pic.IlbmInfo.TransparentColour;
        view.Indices = pic.ChunkyImage.data() + stride;
    }
    return view;
}

PictureView ViewOf(const PictureContext& pic) { return ViewOf(pic, pic.ColourImage.data()); }

}  // namespace planora
