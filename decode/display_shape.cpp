#include "decode/display_shape.h"

#include <algorithm>

#include "iff/picture_header.h"

namespace planora {

namespace {
// No display had pixels more than this many times as wide as tall, or the
// other way round: such a BMHD aspect is not a shape.
constexpr int64_t kMostElongated = 8;
}  // namespace

PixelAspect PixelAspectOf(int32_t xAspect, int32_t yAspect, uint32_t displayMode) {
    const int64_t x = xAspect, y = yAspect;
    if (x > 0 && y > 0 && x <= kMostElongated * y && y <= kMostElongated * x) return {xAspect, yAspect};
    const int32_t across = displayMode & kCamgSuperHires ? 4 : displayMode & kCamgHires ? 2 : 1;
    const int32_t down = displayMode & kCamgInterlace ? 2 : 1;
    // More pixels across make each narrower; more lines make each lower.
    return {down, across};
}

PixelAspect PixelAspectOf(const IlbmInfoRecord& info) {
    return PixelAspectOf(info.XAspectRatio, info.YAspectRatio, uint32_t(info.ModeID));
}

DisplaySize DisplaySizeOf(int32_t width, int32_t height, PixelAspect aspect) {
    const int64_t longer = std::max(aspect.X, aspect.Y), shorter = std::min(aspect.X, aspect.Y);
    // Within 15% of square, or not a shape at all.
    if (width < 1 || height < 1 || shorter < 1 || 20 * longer <= 23 * shorter) return {width, height};
    const auto lengthen = [&](int32_t side) {
        if (10 * longer >= 17 * shorter && 10 * longer <= 23 * shorter) return 2 * side;
        return int32_t((2 * int64_t{side} * longer + shorter) / (2 * shorter));
    };
    // Tall pixels need more rows, wide ones more columns.
    if (aspect.X < aspect.Y) return {width, lengthen(height), ScaledAxis::Height};
    return {lengthen(width), height, ScaledAxis::Width};
}

DisplaySize DisplaySizeOf(const PictureHeader& header) {
    return DisplaySizeOf(header.Width, header.Height, PixelAspectOf(header.XAspect, header.YAspect, header.DisplayMode));
}

}  // namespace planora
