// Dithering trades pixel error for tone: on a smooth gradient, error
// diffusion and the ordered pattern bring the mean colour of 8 x 8 blocks
// much closer to the source's than plain mapping does, in every mode, while
// plain mapping keeps the least error pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "encode/encode_picture.h"
#include "shown_by_planora.h"

namespace planora::test {
namespace {

struct Errors {
    double Pixel = 0;   // mean squared error a pixel
    double Block = 0;   // mean absolute error of 8 x 8 block means, a component
};

Errors Measure(const std::vector<uint32_t>& shown, const std::vector<uint32_t>& source, int32_t width, int32_t height) {
    Errors e;
    auto component = [](uint32_t rgb, int c) { return double(rgb >> (16 - 8 * c) & 0xFF); };
    for (size_t i = 0; i < shown.size(); ++i)
        for (int c = 0; c < 3; ++c) e.Pixel += std::pow(component(shown[i], c) - component(source[i], c), 2) / double(shown.size());
    int blocks = 0;
    for (int32_t by = 0; by + 8 <= height; by += 8)
        for (int32_t bx = 0; bx + 8 <= width; bx += 8, ++blocks)
            for (int c = 0; c < 3; ++c) {
                double difference = 0;
                for (int32_t y = by; y < by + 8; ++y)
                    for (int32_t x = bx; x < bx + 8; ++x) {
                        const size_t at = size_t(y) * size_t(width) + size_t(x);
                        difference += component(shown[at], c) - component(source[at], c);
                    }
                e.Block += std::abs(difference / 64) / 3;
            }
    e.Block /= blocks;
    return e;
}

TEST(Dithering, BlocksKeepTheirToneInEveryMode) {
    encode::TrueColourPicture source{96, 64, {}};
    for (int32_t y = 0; y < source.Height; ++y)
        for (int32_t x = 0; x < source.Width; ++x)
            source.Rgb.insert(source.Rgb.end(), {uint8_t(x * 255 / 95), uint8_t(y * 4), uint8_t(160 - x)});
    const struct { encode::EncodeMode Mode; int Colours; } modes[] = {
        {encode::EncodeMode::Palette, 4}, {encode::EncodeMode::Palette, 16}, {encode::EncodeMode::Ehb, 32},
        {encode::EncodeMode::Ham6, 16}, {encode::EncodeMode::Ham8, 64}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(int(mode.Mode) * 1000 + mode.Colours);
        Errors errors[3];
        for (auto dither : {encode::Dither::None, encode::Dither::ErrorDiffusion, encode::Dither::Ordered}) {
            encode::EncodeOptions options;
            options.Mode = mode.Mode;
            options.Colours = mode.Colours;
            options.Dithering = dither;
            errors[int(dither)] = Measure(ShownByPlanora(encode::EncodePicture(source, options)), PixelsOf(source),
                                          source.Width, source.Height);
        }
        const Errors plain = errors[0], diffused = errors[1], ordered = errors[2];
        // A quarter of a level is tone kept already (HAM8 keeps it plainly).
        EXPECT_LT(diffused.Block, std::max(plain.Block * 0.6, 0.25));
        EXPECT_LT(ordered.Block, std::max(plain.Block * 0.7, 0.25));
        EXPECT_LE(plain.Pixel, diffused.Pixel);
        EXPECT_LE(plain.Pixel, ordered.Pixel);
    }
}

}  // namespace
}  // namespace planora::test
