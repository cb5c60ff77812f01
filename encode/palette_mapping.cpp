#include "encode/palette_mapping.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <unordered_map>

#include "encode/palette_quantiser.h"

namespace planora::encode {
namespace {

// Nearest entries remembered by colour: photographs repeat colours, and a
// search of up to 256 entries costs far more than the lookup.
class NearestEntries {
public:
    explicit NearestEntries(const std::vector<Rgb>& palette) : points_(PointsOf(palette)) {}
    uint8_t operator()(Rgb c) {
        const uint32_t key = uint32_t(c.R) << 16 | uint32_t(c.G) << 8 | c.B;
        auto [it, added] = known_.try_emplace(key, 0);
        if (added) it->second = uint8_t(NearestColour(points_, PointOf(c)));
        return it->second;
    }

private:
    std::vector<ColourPoint> points_;
    std::unordered_map<uint32_t, uint8_t> known_;
};

uint8_t Clamp(float v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

std::vector<uint8_t> Diffused(const TrueColourPicture& picture, const std::vector<Rgb>& palette, NearestEntries& nearest) {
    const int32_t w = picture.Width;
    std::vector<uint8_t> indices(size_t(w) * size_t(picture.Height));
    // Error carried into this row and the next, with a pixel of margin each side.
    std::vector<std::array<float, 3>> here(size_t(w) + 2), below(size_t(w) + 2);
    for (int32_t y = 0; y < picture.Height; ++y) {
        const bool forward = y % 2 == 0;
        for (int32_t i = 0; i < w; ++i) {
            const int32_t x = forward ? i : w - 1 - i;
            const int step = forward ? 1 : -1;
            const size_t at = size_t(y) * size_t(w) + size_t(x);
            const uint8_t* source = &picture.Rgb[3 * at];
            auto& carried = here[size_t(x + 1)];
            const Rgb wanted{Clamp(source[0] + carried[0]), Clamp(source[1] + carried[1]), Clamp(source[2] + carried[2])};
            const uint8_t index = nearest(wanted);
            indices[at] = index;
            const Rgb got = palette[index];
            const std::array<float, 3> error{float(wanted.R - got.R), float(wanted.G - got.G), float(wanted.B - got.B)};
            for (size_t c = 0; c < 3; ++c) {
                here[size_t(x + 1 + step)][c] += error[c] * 7 / 16;
                below[size_t(x + 1 - step)][c] += error[c] * 3 / 16;
                below[size_t(x + 1)][c] += error[c] * 5 / 16;
                below[size_t(x + 1 + step)][c] += error[c] * 1 / 16;
            }
        }
        here.swap(below);
        std::fill(below.begin(), below.end(), std::array<float, 3>{});
    }
    return indices;
}

// The ordered pattern mixes two entries in the proportion that gives the
// wanted colour on average: the nearest entry, and the nearest to the wanted
// colour pushed past it by the error (the other side of the wanted colour).
// The threshold picks the second where its share exceeds it.
uint8_t Patterned(Rgb wanted, float threshold, const std::vector<Rgb>& palette, NearestEntries& nearest) {
    const uint8_t first = nearest(wanted);
    const Rgb near = palette[first];
    const Rgb beyond{Clamp(2.0f * wanted.R - near.R), Clamp(2.0f * wanted.G - near.G), Clamp(2.0f * wanted.B - near.B)};
    const uint8_t second = nearest(beyond);
    const Rgb far = palette[second];
    const float dr = float(far.R - near.R), dg = float(far.G - near.G), db = float(far.B - near.B);
    const float length = dr * dr + dg * dg + db * db;
    if (length == 0) return first;
    const float share = (float(wanted.R - near.R) * dr + float(wanted.G - near.G) * dg + float(wanted.B - near.B) * db) / length;
    return share > threshold + 0.5f ? second : first;
}

}  // namespace

float OrderedThreshold(int32_t x, int32_t y) {
    int value = 0;
    for (int bit = 2; bit >= 0; --bit) {
        const int bx = (x >> (2 - bit)) & 1, by = (y >> (2 - bit)) & 1;
        value |= ((bx ^ by) << (2 * bit + 1)) | (by << (2 * bit));
    }
    return (float(value) + 0.5f) / 64.0f - 0.5f;
}

std::vector<uint8_t> MapToPalette(const TrueColourPicture& picture, const std::vector<Rgb>& palette, Dither dither,
                                  bool extraHalves) {
    std::vector<Rgb> shown = palette;
    if (extraHalves)
        for (Rgb c : palette) shown.push_back(HalfBrite(c));
    NearestEntries nearest(shown);
    if (dither == Dither::ErrorDiffusion) return Diffused(picture, shown, nearest);
    std::vector<uint8_t> indices(size_t(picture.Width) * size_t(picture.Height));
    for (int32_t y = 0; y < picture.Height; ++y)
        for (int32_t x = 0; x < picture.Width; ++x) {
            const size_t at = size_t(y) * size_t(picture.Width) + size_t(x);
            const Rgb wanted{picture.Rgb[3 * at], picture.Rgb[3 * at + 1], picture.Rgb[3 * at + 2]};
            indices[at] = dither == Dither::Ordered ? Patterned(wanted, OrderedThreshold(x, y), shown, nearest)
                                                    : nearest(wanted);
        }
    return indices;
}

}  // namespace planora::encode
