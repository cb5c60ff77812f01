// Fuzz target: a whole load from bytes (FORM check, chunk walk, chunk
// handlers, BODY decoding, palette mapping), then every writer into memory.
// Run-time failures are an expected outcome; anything else is a finding.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "output/bmp_writer.h"
#include "output/exports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    planora::PictureContext pic;
    // Small enough that one input never costs more than a few milliseconds: at
    // 16 MiB the fuzzer soon favours inputs claiming pictures of a million
    // pixels, each taking 150 ms under the sanitizers. 512 KiB still admits a
    // row of 32767 pixels (two rows and the spare row and column make 98304
    // elements of 5 bytes).
    pic.ImageByteBudget = int64_t{512} << 10;
    try {
        if (pic.Load_IFF_From_Memory("fuzz.iff", std::vector<uint8_t>(data, data + size)) != 1) return 0;
        planora::BuildBitmapFile(pic, pic.IlbmInfo.Width, pic.IlbmInfo.Height);
        planora::BuildRawRgbFile(pic);
        planora::BuildRawChunkyFile(pic);
        planora::BuildPaletteTextFile(pic);
        pic.ImageInfoLines();
        // The converter's PNG output reads every pixel's opacity next to its
        // colour when the picture has alpha.
        static volatile uint32_t sink;
        for (int32_t y = 1; pic.HasAlpha() && y <= pic.IlbmInfo.Height; ++y)
            for (int32_t x = 0; x < pic.IlbmInfo.Width; ++x) sink = sink + (uint32_t(pic.AlphaAt(x, y)) << 24 | pic.ColourAt(x, y));
    } catch (const planora::RunTimeError&) {
    }
    return 0;
}
