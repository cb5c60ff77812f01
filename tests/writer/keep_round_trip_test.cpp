// Keep round trips: every picture in tests/data that loads with palette
// indices, written with the keep encoding (packed and plain) and loaded
// again, has the same size, planes, indices, display mode, colour ranges,
// aspect and shown colours (which covers the colour map and the per-line
// palettes).
#include <filesystem>

#include <gtest/gtest.h>

#include "encode/keep_picture.h"
#include "iff/file_system.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "output/ilbm_writer.h"

namespace planora::test {
namespace {

bool LoadsWithIndices(PictureContext& pic, const std::string& path) {
    try {
        return pic.Load_IFF_To_Array(path) == 1 && encode::CanKeep(pic) && pic.IlbmInfo.Width > 0 &&
               pic.IlbmInfo.Height > 0;
    } catch (const RunTimeError&) {
        return false;
    }
}

bool SameRanges(const std::vector<ColourRange>& a, const std::vector<ColourRange>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].Active != b[i].Active || a[i].Reverse != b[i].Reverse || a[i].Cells != b[i].Cells ||
            a[i].StepNumerator * b[i].StepDenominator != b[i].StepNumerator * a[i].StepDenominator)
            return false;
    return true;
}

// The first differences between the two loads, empty when there are none.
std::string Differences(const PictureContext& a, const PictureContext& b) {
    const IlbmInfoRecord &x = a.IlbmInfo, &y = b.IlbmInfo;
    if (x.Width != y.Width || x.Height != y.Height || x.Bitplanes != y.Bitplanes) return "size or planes";
    if (x.HamFlag != y.HamFlag || x.HalfBriteFlag != y.HalfBriteFlag || x.DisplayMode != y.DisplayMode ||
        (x.DisplayMode != 0 && x.ModeID != y.ModeID))
        return "display mode";
    if (!SameRanges(a.ColourRanges, b.ColourRanges)) return "colour ranges";
    if ((x.XAspectRatio && x.XAspectRatio != y.XAspectRatio) || (x.Masking == 2) != (y.Masking == 2) ||
        (x.Masking == 2 && x.TransparentColour != y.TransparentColour))
        return "aspect or transparent colour";
    // A picture whose rows were never decoded (no BODY read) shows zeros,
    // not colour 0; its rewrite has rows of index 0 and shows colour 0.
    bool decoded = false;
    for (int32_t row = 1; row <= x.Height; ++row)
        for (int32_t col = 0; col < x.Width; ++col) decoded = decoded || a.ColourAt(col, row) != 0 || a.ChunkyAt(col, row) != 0;
    for (int32_t row = 1; row <= x.Height; ++row)
        for (int32_t col = 0; col < x.Width; ++col) {
            const std::string at = std::to_string(col) + "," + std::to_string(row - 1);
            if (a.ChunkyAt(col, row) != b.ChunkyAt(col, row)) return "index at " + at;
            if (decoded && a.ColourAt(col, row) != b.ColourAt(col, row)) return "colour at " + at;
        }
    return {};
}

TEST(KeepRoundTrip, EveryIndexedPictureInTheTestData) {
    int kept = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PLANORA_TEST_DATA)) {
        if (!entry.is_regular_file()) continue;
        const std::string path = entry.path().string();
        PictureContext original;
        if (!LoadsWithIndices(original, path)) continue;
        const encode::KeptPicture keep = encode::KeepPicture(original);
        for (IlbmCompression compression : {IlbmCompression::ByteRun1, IlbmCompression::None}) {
            PictureContext again;
            ASSERT_EQ(again.Load_IFF_From_Memory("again.iff", BuildIlbmFile(keep.Picture, keep.Extras, compression)), 1) << path;
            EXPECT_EQ(Differences(original, again), "") << path;
            EXPECT_EQ(again.IlbmInfo.Packtype, compression == IlbmCompression::ByteRun1 ? 1 : 0);
        }
        ++kept;
    }
    // The corpus holds palette, EHB, HAM6, HAM8, PBM, cycling and per-line palette pictures.
    EXPECT_GE(kept, 20);
}

}  // namespace
}  // namespace planora::test
