// PictureView: a loaded picture as rows of pixels, for everything that reads
// it out (the writers, the thumbnailer, the image loaders, the viewer).
//
// The picture arrays keep an unused row 0 and an extra last column (picture
// row y is array row y + 1); a view hides both: its row 0 is the picture's
// top row and its rows are Width pixels long, Stride elements apart. Opacity
// comes from an alpha plane (a mask plane, or the alpha of a deep picture) or
// from a transparent palette index (BMHD Masking 2); a view of a picture
// without either is opaque. Everything is inline, so the per-pixel paths stay
// plain loops.
#pragma once

#include <cstddef>
#include <cstdint>

namespace planora {

class PictureContext;

struct PictureView {
    int32_t Width = 0;
    int32_t Height = 0;
    size_t Stride = 0;                  // elements from one row to the next
    const uint32_t* Colours = nullptr;  // RGB24 in the low three bytes
    const uint8_t* AlphaPlane = nullptr;  // opacity per element, or none
    const uint8_t* Indices = nullptr;     // palette indices, for a transparent index
    bool TransparentIndex = false;        // pixels whose index is TransparentColour are clear
    int32_t TransparentColour = 0;

    bool HasAlpha() const { return AlphaPlane != nullptr || TransparentIndex; }
    const uint32_t* Row(int32_t y) const { return Colours + size_t(y) * Stride; }
    uint32_t ColourAt(int32_t x, int32_t y) const { return Row(y)[x]; }
    uint8_t AlphaAt(int32_t x, int32_t y) const {
        const size_t at = size_t(y) * Stride + size_t(x);
        if (AlphaPlane) return AlphaPlane[at];
        if (TransparentIndex) return Indices[at] == TransparentColour ? 0 : 255;
        return 255;
    }
    // The same picture with other colours laid out alike (a frame of a
    // moving picture): colours points at the element of the top-left pixel.
    PictureView WithColours(const uint32_t* colours) const {
        PictureView view = *this;
        view.Colours = colours;
        return view;
    }
};

// The loaded picture of pic, clipped to its arrays. Valid while they are.
PictureView ViewOf(const PictureContext& pic);
// The view of a frame mapped into `colours`, laid out as pic.ColourImage
// (row 0 unused), with pic's opacity.
PictureView ViewOf(const PictureContext& pic, const uint32_t* colours);

// Writes row y as R, G, B bytes per pixel, and A after them when withAlpha;
// returns the byte after the last one written.
inline uint8_t* WriteRgbRow(const PictureView& view, int32_t y, bool withAlpha, uint8_t* out) {
    const uint32_t* colours = view.Row(y);
    const int32_t width = view.Width;
    if (!withAlpha) {
        for (int32_t x = 0; x < width; ++x, out += 3) {
            out[0] = uint8_t(colours[x] >> 16), out[1] = uint8_t(colours[x] >> 8), out[2] = uint8_t(colours[x]);
        }
        return out;
    }
    const size_t start = size_t(y) * view.Stride;
    for (int32_t x = 0; x < width; ++x, out += 4) {
        out[0] = uint8_t(colours[x] >> 16), out[1] = uint8_t(colours[x] >> 8), out[2] = uint8_t(colours[x]);
        out[3] = view.AlphaPlane        ? view.AlphaPlane[start + size_t(x)]
                 : !view.TransparentIndex ? uint8_t(255)
                 : view.Indices[start + size_t(x)] == view.TransparentColour ? uint8_t(0)
                                                                            : uint8_t(255);
    }
    return out;
}

}  // namespace planora
