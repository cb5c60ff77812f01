// Area-averaging scaler. Along one axis, take units in which a source pixel
// is `out` long and an output pixel `in` long, so that both rows span in*out:
//
//   source  |--0--|--1--|--2--|--3--|--4--|        (in = 5, out = 3)
//   output  |---0----|---1----|---2----|
//
// Output pixel j covers [j*in, (j+1)*in), source pixel i covers
// [i*out, (i+1)*out), and i weighs in j by the length of their overlap, a
// whole number; the weights of one output pixel add up to `in`. The scaler
// sums each source row across (the weights of x) and the summed rows down
// (the weights of y), in 64 bits, and divides once by in_x * in_y, rounding
// to nearest. Enlarging, an output pixel lies in one source pixel or across
// two, so a whole factor repeats every pixel exactly and any other shows the
// display's pixel edges as they fall across the output's.
#include "output/thumbnail.h"

#include <algorithm>


namespace planora {

namespace {

struct AxisWeights {
    std::vector<size_t> Start;  // first entry of each output pixel, and the end
    std::vector<int32_t> Source;
    std::vector<uint64_t> Weight;
};

AxisWeights MakeWeights(int32_t in, int32_t out) {
    AxisWeights axis;
    axis.Start.reserve(size_t(out) + 1);
    for (int64_t j = 0; j < out; ++j) {
        axis.Start.push_back(axis.Source.size());
        const int64_t begin = j * in, end = begin + in;
        for (int64_t i = begin / out; i * out < end; ++i) {
            axis.Source.push_back(int32_t(i));
            axis.Weight.push_back(uint64_t(std::min(end, (i + 1) * out) - std::max(begin, i * out)));
        }
    }
    axis.Start.push_back(axis.Source.size());
    return axis;
}

// One source row summed across into out pixels of four sums: R G B A, the
// colours weighted by opacity when the picture has alpha.
void SumRow(const PictureView& picture, int32_t row, const AxisWeights& xs, bool alpha, uint64_t* sums) {
    const size_t outWidth = xs.Start.size() - 1;
    for (size_t j = 0; j < outWidth; ++j, sums += 4) {
        uint64_t r = 0, g = 0, b = 0, a = 0;
        for (size_t k = xs.Start[j]; k < xs.Start[j + 1]; ++k) {
            const int32_t x = xs.Source[k];
            const uint32_t colour = picture.ColourAt(x, row);
            const uint64_t weight = alpha ? xs.Weight[k] * picture.AlphaAt(x, row) : xs.Weight[k];
            r += ((colour >> 16) & 0xFF) * weight;
            g += ((colour >> 8) & 0xFF) * weight;
            b += (colour & 0xFF) * weight;
            a += weight;
        }
        sums[0] = r, sums[1] = g, sums[2] = b, sums[3] = a;
    }
}

uint8_t Divide(uint64_t sum, uint64_t total) { return total ? uint8_t((sum + total / 2) / total) : 0; }

}  // namespace

std::pair<int32_t, int32_t> ThumbnailSize(int32_t width, int32_t height, int32_t maxSide) {
    if (width <= maxSide && height <= maxSide) return {width, height};
    const auto scaled = [&](int32_t side, int32_t larger) {
        return std::max<int32_t>(1, int32_t((int64_t(side) * maxSide * 2 + larger) / (int64_t(larger) * 2)));
    };
    if (width >= height) return {maxSide, scaled(height, width)};
    return {scaled(width, height), maxSide};
}

ScaledPicture ScalePicture(const PictureView& picture, int32_t width, int32_t height) {
    const int32_t inWidth = picture.Width, inHeight = picture.Height;
    const bool alpha = picture.HasAlpha();
    ScaledPicture image;
    image.Width = width;
    image.Height = height;
    image.Colours.resize(size_t(width) * size_t(height));
    if (alpha) image.Alpha.resize(image.Colours.size());

    const AxisWeights xs = MakeWeights(inWidth, width), ys = MakeWeights(inHeight, height);
    std::vector<uint64_t> rowSums(size_t(width) * 4), sums(size_t(width) * 4);
    int32_t summedRow = -1;  // the source row in rowSums
    const uint64_t total = uint64_t(inWidth) * uint64_t(inHeight);
    uint32_t* colour = image.Colours.data();
    uint8_t* opacity = image.Alpha.data();
    for (int32_t j = 0; j < height; ++j) {
        std::fill(sums.begin(), sums.end(), 0);
        for (size_t k = ys.Start[j]; k < ys.Start[j + 1]; ++k) {
            // A source row across two output rows is summed once.
            if (ys.Source[k] != summedRow) {
                summedRow = ys.Source[k];
                SumRow(picture, summedRow, xs, alpha, rowSums.data());
            }
            for (size_t i = 0; i < sums.size(); ++i) sums[i] += rowSums[i] * ys.Weight[k];
        }
        for (int32_t x = 0; x < width; ++x) {
            const uint64_t* s = &sums[size_t(x) * 4];
            // With alpha, s[3] is the opacity-weighted area the colours were summed over.
            const uint64_t colourTotal = alpha ? s[3] : total;
            *colour++ = uint32_t(Divide(s[0], colourTotal)) << 16 | uint32_t(Divide(s[1], colourTotal)) << 8 |
                        Divide(s[2], colourTotal);
            if (alpha) *opacity++ = Divide(s[3], total);
        }
    }
    return image;
}

}  // namespace planora
