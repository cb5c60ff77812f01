// What Planora's own reader shows from an encoded picture: the indices and
// colour map put in an ILBM file as they are and loaded back, so that the
// encoder tests judge by the decoder rather than by the encoder's own model.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "decode/picture_view.h"
#include "encode/indexed_picture.h"
#include "iff/picture_context.h"
#include "ilbm_builder.h"

namespace planora::test {

inline std::vector<uint32_t> ShownByPlanora(const encode::IndexedPicture& picture) {
    std::vector<uint32_t> cmap;
    for (const encode::Rgb& c : picture.Colours) cmap.push_back(uint32_t(c.R) << 16 | uint32_t(c.G) << 8 | c.B);
    IlbmBuilder file;
    file.Bmhd(picture.Width, picture.Height, picture.Planes).Cmap(cmap);
    if (picture.DisplayMode != 0) file.Camg(picture.DisplayMode);
    file.Body({picture.Width, picture.Height, picture.Indices}, {picture.Planes});
    PictureContext pic;
    EXPECT_EQ(pic.Load_IFF_From_Memory("encoded.iff", file.Bytes()), 1);
    const PictureView view = ViewOf(pic);
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < view.Height; ++y)
        for (int32_t x = 0; x < view.Width; ++x) pixels.push_back(view.ColourAt(x, y) & 0xFFFFFF);
    return pixels;
}

inline std::vector<uint32_t> PixelsOf(const encode::TrueColourPicture& picture) {
    std::vector<uint32_t> pixels;
    for (size_t i = 0; i + 2 < picture.Rgb.size(); i += 3)
        pixels.push_back(uint32_t(picture.Rgb[i]) << 16 | uint32_t(picture.Rgb[i + 1]) << 8 | picture.Rgb[i + 2]);
    return pixels;
}

}  // namespace planora::test
