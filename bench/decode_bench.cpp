// Decoding speed: synthetic 4096 x 4096 pictures loaded from memory (chunk
// walk, BODY, planar-to-chunky and mapping), reported as megapixels per second.
// Each picture is decoded and checked against its source indices once before
// it is timed.
#include <benchmark/benchmark.h>

#include <map>

#include "iff/picture_context.h"
#include "ilbm_builder.h"

namespace {

using planora::PictureContext;
using namespace planora::test;

constexpr int32_t kSide = 4096;

enum class Kind { Planes8Packed, Planes8Raw, Ham8Packed, Ehb5Packed };

struct Sample {
    IndexPicture indices;
    std::vector<uint8_t> file;
};

// Bands of flat colour (runs for ByteRun1) mixed with a busy pattern
// (literals), as in real pictures.
IndexPicture Pattern(int planes) {
    IndexPicture picture(kSide, kSide);
    const int mask = (1 << planes) - 1;
    uint32_t noise = 12345;
    for (int32_t y = 0; y < kSide; ++y)
        for (int32_t x = 0; x < kSide; ++x) {
            noise = noise * 1103515245u + 12345u;
            const bool flat = ((x / 64) + (y / 64)) % 2 == 0;
            picture.At(x, y) = uint8_t((flat ? (x / 64 + y / 32) : (noise >> 16)) & mask);
        }
    return picture;
}

const Sample& SampleFor(Kind kind) {
    static std::map<Kind, Sample> samples;
    auto found = samples.find(kind);
    if (found != samples.end()) return found->second;

    const int planes = kind == Kind::Ehb5Packed ? 6 : 8;
    const bool packed = kind != Kind::Planes8Raw;
    Sample sample{Pattern(planes), {}};
    std::vector<uint32_t> colours(kind == Kind::Ehb5Packed ? 32 : 256);
    for (size_t i = 0; i < colours.size(); ++i) colours[i] = uint32_t(i * 0x010203u) & 0xFFFFFF;
    IlbmBuilder builder;
    builder.Bmhd(kSide, kSide, planes, packed ? 1 : 0).Cmap(colours);
    if (kind == Kind::Ham8Packed) builder.Camg(0x800);
    if (kind == Kind::Ehb5Packed) builder.Camg(0x80);
    if (kind != Kind::Ham8Packed && kind != Kind::Ehb5Packed) builder.Camg(0);
    builder.Body(sample.indices, BodyOptions{planes, packed ? Packing::ByteRun1 : Packing::Raw});
    sample.file = builder.Bytes();
    return samples.emplace(kind, std::move(sample)).first->second;
}

void DecodePicture(benchmark::State& state, Kind kind) {
    const Sample& sample = SampleFor(kind);
    PictureContext pic;
    if (pic.Load_IFF_From_Memory("bench.iff", sample.file) != 1 ||
        pic.ChunkyImage.size() != size_t(kSide + 1) * (kSide + 1)) {
        state.SkipWithError("picture did not load");
        return;
    }
    for (int32_t y = 0; y < kSide; y += 97)
        for (int32_t x = 0; x < kSide; x += 89)
            if (pic.ChunkyAt(x, y + 1) != sample.indices.At(x, y)) {
                state.SkipWithError("decoded indices differ from the source picture");
                return;
            }
    for (auto _ : state) {
        pic.Load_IFF_From_Memory("bench.iff", sample.file);
        benchmark::DoNotOptimize(pic.ColourImage.data());
    }
    const double pixels = double(kSide) * kSide;
    state.counters["Mpixel/s"] = benchmark::Counter(pixels / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

}  // namespace

BENCHMARK_CAPTURE(DecodePicture, planes8_byterun1, Kind::Planes8Packed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodePicture, planes8_raw, Kind::Planes8Raw)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodePicture, ham8_byterun1, Kind::Ham8Packed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DecodePicture, ehb_byterun1, Kind::Ehb5Packed)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
