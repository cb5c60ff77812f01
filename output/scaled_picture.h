// A picture made by scaling another (a thumbnail, a picture whose pixels
// were made square), holding its own pixels and read through a PictureView
// as a loaded picture is.
#pragma once

#include <cstdint>
#include <vector>

#include "decode/picture_view.h"

namespace planora {

struct ScaledPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Colours;  // RGB24, rows of Width pixels from the top
    std::vector<uint8_t> Alpha;     // opacity per pixel; empty for an opaque picture

    PictureView View() const {
        PictureView view;
        view.Width = Width, view.Height = Height, view.Stride = size_t(Width);
        view.Colours = Colours.data();
        view.AlphaPlane = Alpha.empty() ? nullptr : Alpha.data();
        return view;
    }
};

}  // namespace planora
