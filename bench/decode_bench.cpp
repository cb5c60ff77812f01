// Decoding speed: synthetic 4096 x 4096 pictures loaded from memory (chunk
// walk, BODY, planar-to-chunky and mapping), reported as megapixels per second.
// Each picture is decoded and checked against its source indices once before
// it is timed.
#include <benchmark/benchmark.h>

#include <map>

#include "iff/picture_context.h"
#include "bench_pictures.h"

namespace {

using planora::PictureContext;
using namespace planora::bench;

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
BENCHMARK_CAPTURE(DecodePicture, ehb_byterun1, Kind::Ehb6Packed)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
