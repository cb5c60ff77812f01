// Fuzz target: the header the image loaders read before decoding, a whole
// load from bytes (FORM check, chunk walk, chunk
// handlers, BODY decoding, palette mapping), then every writer into memory,
// every frame of an ANIM played twice round, and a picture with colour
// cycling mapped at two moments of its cycle; a picture with palette indices
// is also rewritten as an ILBM with its own indices, which must load back to
// the same indices.
// Run-time failures are an expected outcome; anything else is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "decode/anim_player.h"
#include "decode/colour_cycling.h"
#include "decode/display_shape.h"
#include "decode/picture_view.h"
#include "iff/picture_context.h"
#include "iff/picture_header.h"
#include "iff/run_time_error.h"
#include "output/bmp_writer.h"
#include "output/exports.h"
#include "output/ilbm_writer.h"
#include "encode/keep_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    planora::PictureContext pic;
    // Small enough that one input never costs more than a few milliseconds: at
    // 16 MiB the fuzzer soon favours inputs claiming pictures of a million
    // pixels, each taking 150 ms under the sanitizers. 512 KiB still admits a
    // row of 32767 pixels (two rows and the spare row and column make 98304
    // elements of 5 bytes).
    pic.ImageByteBudget = int64_t{512} << 10;
    try {
        if (const auto header = planora::ReadPictureHeader({data, size})) planora::DisplaySizeOf(*header);
    } catch (const planora::RunTimeError&) {
    }
    try {
        if (pic.Load_IFF_From_Memory("fuzz.iff", std::vector<uint8_t>(data, data + size)) != 1) return 0;
        planora::BuildBitmapFile(pic, pic.IlbmInfo.Width, pic.IlbmInfo.Height);
        planora::BuildRawRgbFile(pic);
        planora::BuildRawChunkyFile(pic);
        planora::BuildPaletteTextFile(pic);
        pic.ImageInfoLines();
        if (pic.IsAnimation()) {
            planora::AnimPlayer player(pic);
            for (size_t i = 0; i < 2 * player.FrameCount() + 1; ++i) player.Next();
        }
        if (planora::HasActiveRanges(pic.ColourRanges)) {
            std::vector<uint32_t> frame(size_t(pic.IlbmInfo.Width + 1) * size_t(pic.IlbmInfo.Height + 1));
            planora::ColourTable palette{};
            for (const int64_t micros : {int64_t{0}, planora::NextCycleChange(pic.ColourRanges, 123456)}) {
                planora::CyclePalette(pic.ColourRanges, pic.Palette, micros, pic.IlbmInfo.HalfBriteFlag != 0, palette);
                pic.MapPictureWithPalette(palette, frame.data());
            }
        }
        // The PNG output's rows: every pixel's colour, and its opacity next
        // to it when the picture has alpha.
        const planora::PictureView view = planora::ViewOf(pic);
        std::vector<uint8_t> row(size_t(view.Width) * 4);
        for (int32_t y = 0; y < view.Height; ++y) planora::WriteRgbRow(view, y, view.HasAlpha(), row.data());
        if (planora::encode::CanKeep(pic) && pic.IlbmInfo.Width > 0 && pic.IlbmInfo.Height > 0) {
            const planora::encode::KeptPicture kept = planora::encode::KeepPicture(pic);
            planora::PictureContext again;
            again.ImageByteBudget = pic.ImageByteBudget;
            if (again.Load_IFF_From_Memory("kept.iff", planora::BuildIlbmFile(kept.Picture, kept.Extras,
                                                                          planora::IlbmCompression::ByteRun1)) != 1)
                std::abort();
            for (int32_t y = 1; y <= pic.IlbmInfo.Height; ++y)
                for (int32_t x = 0; x < pic.IlbmInfo.Width; ++x)
                    if (again.ChunkyAt(x, y) != pic.ChunkyAt(x, y)) std::abort();
        }
    } catch (const planora::RunTimeError&) {
    }
    return 0;
}
