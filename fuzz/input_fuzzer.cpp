// Fuzz target: the PNG, JPEG, GIF and BMP readers (input/) on any bytes,
// then, for a picture that reads, the ILBM the converter would write with
// its own indices (palette PNG and GIF), loaded back: its indices must be
// the picture's. An InputError is an expected outcome; anything else is a
// finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "input/input_picture.h"
#include "output/ilbm_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small pictures only, as in the load target: a few milliseconds an input.
    constexpr int64_t kBudget = int64_t{512} << 10;
    planora::input::InputPicture picture;
    try {
        picture = planora::input::ReadInputPicture({data, size}, kBudget);
    } catch (const planora::input::InputError&) {
        return 0;
    }
    const auto& colours = picture.Colours;
    if (colours.Rgb.size() != size_t(colours.Width) * size_t(colours.Height) * 3) std::abort();
    if (!picture.Indexed) return 0;
    const planora::encode::IndexedPicture& indexed = *picture.Indexed;
    planora::PictureContext pic;
    pic.ImageByteBudget = kBudget;
    try {
        if (pic.Load_IFF_From_Memory("fuzz.iff", planora::BuildIlbmFile(indexed, {}, planora::IlbmCompression::ByteRun1)) != 1)
            std::abort();
    } catch (const planora::RunTimeError&) {
        std::abort();
    }
    for (int32_t y = 0; y < indexed.Height; ++y)
        for (int32_t x = 0; x < indexed.Width; ++x)
            if (pic.ChunkyAt(x, y + 1) != indexed.Indices[size_t(y) * size_t(indexed.Width) + size_t(x)]) std::abort();
    return 0;
}
