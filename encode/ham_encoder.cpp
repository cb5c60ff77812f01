#include "encode/ham_encoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <thread>

#include "encode/colour_samples.h"
#include "encode/ham_search.h"
#include "encode/palette_mapping.h"
#include "encode/palette_quantiser.h"

namespace planora::encode {
namespace {

// Measured on photographs: a wider beam or more rounds gain under 0.1 dB.
constexpr int kBeamWidth = 8;
constexpr int kRefineBeamWidth = 4;
constexpr int kRefineRounds = 4;
// Pixels below which one thread does all rows: a thread costs more than it saves.
constexpr size_t kThreadedPixels = 32768;

uint8_t Clamp(float v) { return uint8_t(std::clamp(std::lround(v), 0L, 255L)); }

size_t BaseCount(const HamModel& model) { return size_t(1) << (model.ValueBits); }

// What a single modify step from the left neighbour leaves wrong: the
// squared error of the two components it cannot change. Row starts always
// take a base colour, so they weigh as a full change.
std::vector<float> BaseNeed(const TrueColourPicture& source) {
    std::vector<float> need(size_t(source.Width) * size_t(source.Height));
    for (int32_t y = 0; y < source.Height; ++y)
        for (int32_t x = 0; x < source.Width; ++x) {
            const size_t at = size_t(y) * size_t(source.Width) + size_t(x);
            const uint8_t* p = &source.Rgb[3 * at];
            const uint8_t* left = x > 0 ? p - 3 : nullptr;
            std::array<float, 3> d{};
            for (size_t c = 0; c < 3; ++c) d[c] = left ? float(p[c] - left[c]) : 255.0f;
            const float total = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
            const float largest = std::max({d[0] * d[0], d[1] * d[1], d[2] * d[2]});
            need[at] = 1.0f + (total - largest);
        }
    return need;
}

// Rows searched side by side; rows[i] is the picture row of result i.
std::vector<HamRow> SearchRows(const HamModel& model, const std::vector<uint8_t>& wanted, int32_t width,
                               const std::vector<int32_t>& rows, int beamWidth) {
    std::vector<HamRow> result(rows.size());
    auto work = [&](size_t first, size_t last) {
        for (size_t i = first; i < last; ++i)
            result[i] = SearchHamRow(model, &wanted[3 * size_t(rows[i]) * size_t(width)], width, beamWidth);
    };
    if (rows.size() * size_t(width) < kThreadedPixels || rows.size() < 2) {
        work(0, rows.size());
        return result;
    }
    const size_t half = rows.size() / 2;
    std::thread other(work, half, rows.size());
    work(0, half);
    other.join();
    return result;
}

struct Scored {
    std::vector<Rgb> Bases;
    int64_t Error = 0;
    std::vector<uint8_t> Pixels;   // the sample rows' pixels
    std::vector<float> Errors;     // and the squared error each was shown with
};

// One round: search the sample rows, then move the bases to what chose them.
Scored RefineOnce(HamModel& model, const TrueColourPicture& source, const std::vector<int32_t>& rows,
                  size_t fixed, bool ocs) {
    const std::vector<HamRow> searched = SearchRows(model, source.Rgb, source.Width, rows, kRefineBeamWidth);
    Scored scored{model.Bases, 0};
    std::vector<std::array<double, 4>> sums(model.Bases.size(), std::array<double, 4>{});
    // Pixels worst served, as candidates for bases nobody took.
    std::vector<std::pair<int64_t, Rgb>> worst;
    for (size_t i = 0; i < rows.size(); ++i) {
        scored.Error += searched[i].Error;
        const uint8_t* wanted = &source.Rgb[3 * size_t(rows[i]) * size_t(source.Width)];
        const std::vector<Rgb> shown = ShowHamRow(model, searched[i].Codes.data(), source.Width);
        for (int32_t x = 0; x < source.Width; ++x) {
            const uint8_t* p = wanted + 3 * size_t(x);
            const uint8_t code = searched[i].Codes[size_t(x)];
            if (code >> model.ValueBits == 0) {
                auto& sum = sums[code];
                sum[0] += p[0], sum[1] += p[1], sum[2] += p[2], sum[3] += 1;
            }
            const Rgb s = shown[size_t(x)];
            const int64_t e = (s.R - p[0]) * (s.R - p[0]) + (s.G - p[1]) * (s.G - p[1]) + (s.B - p[2]) * (s.B - p[2]);
            worst.push_back({e, Rgb{p[0], p[1], p[2]}});
            scored.Pixels.insert(scored.Pixels.end(), p, p + 3);
            scored.Errors.push_back(float(e));
        }
    }
    const size_t unused = size_t(std::count_if(sums.begin() + long(fixed), sums.end(),
                                               [](const auto& s) { return s[3] == 0; }));
    const size_t keep = std::min(worst.size(), unused * 8);
    std::partial_sort(worst.begin(), worst.begin() + long(keep), worst.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    size_t nextWorst = 0;
    for (size_t k = fixed; k < model.Bases.size(); ++k) {
        Rgb moved;
        if (sums[k][3] > 0) {
            moved = {uint8_t(sums[k][0] / sums[k][3] + 0.5), uint8_t(sums[k][1] / sums[k][3] + 0.5),
                     uint8_t(sums[k][2] / sums[k][3] + 0.5)};
        } else if (nextWorst < keep) {
            moved = worst[nextWorst].second;
            nextWorst += 8;   // spread over the worst pixels, not eight copies of one
        } else {
            continue;
        }
        model.Bases[k] = ocs ? ToOcs(moved) : moved;
    }
    return scored;
}

std::vector<Rgb> ChooseBases(const TrueColourPicture& source, const HamModel& shape, size_t fixed,
                             const PaletteRequest& request) {
    const std::vector<float> need = BaseNeed(source);
    const size_t pixels = size_t(source.Width) * size_t(source.Height);
    HamModel model = shape;
    model.Bases = QuantisePalette(CountColours(source.Rgb.data(), pixels, need.data()), request);
    model.Bases.resize(BaseCount(model));
    // Every few rows, about as many sample pixels as a 320 x 256 picture has a third of.
    const int32_t step = int32_t(std::clamp<size_t>(pixels / 27000, 1, 16));
    std::vector<int32_t> rows;
    for (int32_t y = step / 2; y < source.Height; y += step) rows.push_back(y);
    Scored best{model.Bases, -1};
    for (int round = 0; round < kRefineRounds; ++round) {
        Scored scored = RefineOnce(model, source, rows, fixed, request.Ocs);
        if (best.Error < 0 || scored.Error < best.Error) best = scored;
        if (round % 2 == 1) {
            // Every second round starts afresh: k-means of the sample pixels,
            // each weighing the error it was shown with.
            for (float& error : scored.Errors) error += 1;
            model.Bases = QuantisePalette(
                CountColours(scored.Pixels.data(), scored.Errors.size(), scored.Errors.data()), request);
            model.Bases.resize(BaseCount(model));
        }
    }
    return best.Bases;
}

std::vector<uint8_t> Patterned(const TrueColourPicture& source, float swing) {
    std::vector<uint8_t> wanted(source.Rgb.size());
    for (int32_t y = 0; y < source.Height; ++y)
        for (int32_t x = 0; x < source.Width; ++x) {
            const size_t at = 3 * (size_t(y) * size_t(source.Width) + size_t(x));
            const float offset = swing * OrderedThreshold(x, y);
            for (size_t c = 0; c < 3; ++c) wanted[at + c] = Clamp(source.Rgb[at + c] + offset);
        }
    return wanted;
}

// Error diffusion along the rows: each row is searched for its colours plus
// the error the row above passed down (a quarter each side, half below).
std::vector<uint8_t> DiffusedRows(const HamModel& model, const TrueColourPicture& source) {
    const size_t width = size_t(source.Width);
    std::vector<uint8_t> codes(width * size_t(source.Height));
    std::vector<float> carried(3 * (width + 2), 0.0f), next(carried.size());
    std::vector<uint8_t> wanted(3 * width);
    for (int32_t y = 0; y < source.Height; ++y) {
        const uint8_t* row = &source.Rgb[3 * size_t(y) * width];
        for (size_t i = 0; i < 3 * width; ++i) wanted[i] = Clamp(row[i] + carried[i + 3]);
        const HamRow searched = SearchHamRow(model, wanted.data(), source.Width, kBeamWidth);
        std::copy(searched.Codes.begin(), searched.Codes.end(), codes.begin() + long(size_t(y) * width));
        const std::vector<Rgb> shown = ShowHamRow(model, searched.Codes.data(), source.Width);
        std::fill(next.begin(), next.end(), 0.0f);
        for (size_t x = 0; x < width; ++x) {
            const Rgb s = shown[x];
            const std::array<float, 3> error{float(wanted[3 * x] - s.R), float(wanted[3 * x + 1] - s.G),
                                             float(wanted[3 * x + 2] - s.B)};
            for (size_t c = 0; c < 3; ++c) {
                next[3 * x + c] += error[c] / 4;
                next[3 * (x + 1) + c] += error[c] / 2;
                next[3 * (x + 2) + c] += error[c] / 4;
            }
        }
        carried.swap(next);
    }
    return codes;
}

}  // namespace

IndexedPicture EncodeHam(const TrueColourPicture& source, const EncodeOptions& options) {
    const bool ham6 = options.Mode == EncodeMode::Ham6;
    HamModel model = ham6 ? Ham6Model() : Ham8Model();
    PaletteRequest request;
    request.Count = int(BaseCount(model));
    request.Ocs = ham6 || options.Ocs;
    if (options.Colour0) request.Fixed0 = request.Ocs ? ToOcs(*options.Colour0) : *options.Colour0;
    IndexedPicture out;
    out.Width = source.Width;
    out.Height = source.Height;
    out.Planes = ham6 ? 6 : 8;
    out.DisplayMode = kCamgHam;
    if (source.Width <= 0 || source.Height <= 0) {
        out.Colours.resize(BaseCount(model));
        return out;
    }
    model.Bases = ChooseBases(source, model, request.Fixed0 ? 1 : 0, request);
    out.Colours = model.Bases;
    if (options.Dithering == Dither::ErrorDiffusion) {
        out.Indices = DiffusedRows(model, source);
        return out;
    }
    const std::vector<uint8_t> wanted =
        options.Dithering == Dither::Ordered ? Patterned(source, float(256 >> model.ValueBits)) : source.Rgb;
    std::vector<int32_t> rows(size_t(source.Height));
    for (int32_t y = 0; y < source.Height; ++y) rows[size_t(y)] = y;
    const std::vector<HamRow> searched = SearchRows(model, wanted, source.Width, rows, kBeamWidth);
    out.Indices.reserve(size_t(source.Width) * size_t(source.Height));
    for (const HamRow& row : searched) out.Indices.insert(out.Indices.end(), row.Codes.begin(), row.Codes.end());
    return out;
}

}  // namespace planora::encode
