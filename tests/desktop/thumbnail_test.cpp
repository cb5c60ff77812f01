// The thumbnailer as the file managers run it (planora-convert --thumbnail
// SIZE INPUT OUTPUT): one table of inputs with their exact outcomes; every
// thumbnail made is also compared with ilbmtoppm | pamscale -linear, which
// averages areas the same way, within one step of rounding.
#include <gtest/gtest.h>

#include <QImage>
#include <chrono>
#include <filesystem>

#include "reference_tools.h"
#include "run_convert.h"

namespace {

using namespace planora::test;

struct ThumbnailCase {
    const char* Name;
    std::vector<uint8_t> Bytes;  // empty: no file at all
    const char* InputName;
    int Size;
    const char* Prefix;  // run in front of the converter
    int Width, Height;   // expected thumbnail; 0: fails, nothing written
};

std::vector<ThumbnailCase> Cases() {
    IlbmBuilder sound;
    sound.FormType("8SVX").Chunk("VHDR", std::vector<uint8_t>(20, 0));
    IlbmBuilder huge;  // 8000 x 8000: 320 MB of arrays, within the converter's 1 GiB, not the thumbnail's cap
    huge.Bmhd(8000, 8000, 8).Body(std::vector<uint8_t>(64, 0));
    const auto file = [](int32_t w, int32_t h, int planes, size_t cut = SIZE_MAX) {
        std::vector<uint8_t> bytes = MakeKnownPicture(w, h, planes).File().Bytes();
        bytes.resize(std::min(cut, bytes.size()));
        return bytes;
    };
    // Sizes by hand: the larger side becomes SIZE, the other side * SIZE / larger, rounded, at least 1.
    return {
        {"landscape", file(320, 200, 5), "a.iff", 128, "", 128, 80},
        {"portrait", file(100, 300, 3), "b.ilbm", 64, "", 21, 64},         // 100 * 64 / 300 = 21.3
        {"odd ratio", file(97, 61, 8), "c.lbm", 40, "", 40, 25},            // 61 * 40 / 97 = 25.2
        {"thin strip", file(500, 3, 4), "d.iff", 50, "", 50, 1},            // 0.3 -> at least 1
        {"already small", file(50, 40, 2), "e.iff", 128, "", 50, 40},
        {"no extension", file(33, 17, 1), "picture", 16, "", 16, 8},        // 17 * 16 / 33 = 8.2
        {"sandbox: no HOME, no display", file(64, 64, 4), "f.iff", 32, "env -u HOME -u DISPLAY -u WAYLAND_DISPLAY ",
         32, 32},
        {"not IFF", std::vector<uint8_t>(100, 'x'), "g.iff", 128, "", 0, 0},
        {"IFF sound", sound.Bytes(), "h.iff", 128, "", 0, 0},
        {"cut before the height", file(64, 64, 4, 22), "i.iff", 128, "", 0, 0},  // height reads 0
        {"over the memory cap", huge.Bytes(), "j.iff", 128, "", 0, 0},
        {"missing file", {}, "k.iff", 128, "", 0, 0},
    };
}

TEST(Thumbnailer, OutcomesAndPixelsAgainstPamscale) {
    const bool haveReference = HaveTool("ilbmtoppm") && HaveTool("pamscale");  // else sizes only
    for (const ThumbnailCase& row : Cases()) {
        SCOPED_TRACE(row.Name);
        TempDir dir, scratch;
        const std::string input = dir.File(row.InputName), output = dir.File("thumb.png");
        if (!row.Bytes.empty()) WriteBytes(input, row.Bytes);
        const auto start = std::chrono::steady_clock::now();
        const ProcessResult run =
            RunConvert(scratch, {"--thumbnail", std::to_string(row.Size), input, output}, row.Prefix);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        // Nothing but the output is written, and only on success; failures come fast.
        const auto files = std::distance(std::filesystem::directory_iterator(dir.Path()), {});
        EXPECT_EQ(files, (row.Bytes.empty() ? 0 : 1) + (row.Width ? 1 : 0));
        ASSERT_EQ(run.Status, row.Width ? 0 : 1) << run.Err;
        if (row.Width == 0) {
            EXPECT_LT(seconds, 2.0);
            continue;
        }
        const QImage thumb = QImage(QString::fromStdString(output)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(thumb.size(), QSize(row.Width, row.Height));
        if (!haveReference) continue;
        const std::string scaled = scratch.File("scaled.ppm");
        ASSERT_TRUE(planora::test::Run("ilbmtoppm '" + input + "' | pamscale -linear -width " + std::to_string(row.Width) +
                            " -height " + std::to_string(row.Height) + " >'" + scaled + "'",
                        scratch.File("ref.log")));
        const RgbPicture expected = ReadPpm(scaled);
        int worst = 0;
        for (int y = 0; y < row.Height; ++y)
            for (int x = 0; x < row.Width; ++x)
                for (int shift : {16, 8, 0})
                    worst = std::max(worst, std::abs(int((thumb.pixel(x, y) >> shift) & 0xFF) -
                                                     int((expected.At(x, y) >> shift) & 0xFF)));
        EXPECT_LE(worst, 1);
    }
}

// A transparent pixel lends no colour: red beside a transparent blue is red at
// half opacity ((255 + 0) / 2 rounds to 128), not purple.
TEST(Thumbnailer, TransparentPixelsLendNoColour) {
    TempDir dir, scratch;
    IlbmBuilder file;
    file.Bmhd(BmhdFields{.Width = 2, .Height = 1, .Bitplanes = 1, .Masking = 2, .TransparentColour = 1})
        .Cmap({0xFF0000, 0x0000FF})
        .Body(IndexPicture(2, 1, {0, 1}), {.Planes = 1});
    file.WriteTo(dir.File("a.iff"));
    ASSERT_EQ(RunConvert(scratch, {"--thumbnail", "1", dir.File("a.iff"), dir.File("t.png")}).Status, 0);
    const QImage thumb(QString::fromStdString(dir.File("t.png")));
    ASSERT_EQ(thumb.size(), QSize(1, 1));
    EXPECT_EQ(thumb.pixel(0, 0), qRgba(255, 0, 0, 128));
}

}  // namespace
