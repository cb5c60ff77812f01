// The shape of the pixels on the display a picture was made for, and the
// picture's size once its pixels are made square.
//
// A pixel's shape is the BMHD's X and Y aspect (its width and height in any
// unit). Where either is 0, or the two are further apart than any display's
// pixels (8:1), the CAMG display mode tells it instead: hires (0x8000) halves
// a pixel's width and super-hires (0x20) quarters it; interlace (0x4) halves
// its height. Without either, pixels are square.
//
// Making pixels square adds rows for tall pixels and columns for wide ones,
// never taking any away:
//   within 15% of 1:1             nothing changes (10:11 lores, 44:52 ...)
//   within 15% of 1:2 or 2:1      exactly twice the rows or columns (hires,
//                                 interlace, 5:11 ...)
//   any other shape               the side times the ratio, rounded
#pragma once

#include <cstdint>

#include "iff/ilbm_info.h"

namespace planora {

struct PictureHeader;

// One pixel's width and height, in any unit.
struct PixelAspect {
    int32_t X = 1;
    int32_t Y = 1;
};

// Which side making the pixels square lengthens.
enum class ScaledAxis { None, Width, Height };

struct DisplaySize {
    int32_t Width = 0;
    int32_t Height = 0;
    ScaledAxis Axis = ScaledAxis::None;
    bool operator==(const DisplaySize&) const = default;
};

// The CAMG display mode bits that shape a pixel.
inline constexpr uint32_t kCamgInterlace = 0x0004;
inline constexpr uint32_t kCamgSuperHires = 0x0020;
inline constexpr uint32_t kCamgHires = 0x8000;

// displayMode: the CAMG's value, 0 where the file has none.
PixelAspect PixelAspectOf(int32_t xAspect, int32_t yAspect, uint32_t displayMode);
// Of a loaded picture.
PixelAspect PixelAspectOf(const IlbmInfoRecord& info);

DisplaySize DisplaySizeOf(int32_t width, int32_t height, PixelAspect aspect);
// From a file's header alone, before its pixels are read.
DisplaySize DisplaySizeOf(const PictureHeader& header);

}  // namespace planora
