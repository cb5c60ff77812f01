// The converter on the desktop: the thumbnailer as file managers run it
// (planora-convert --thumbnail SIZE INPUT OUTPUT), "-" for standard input and
// output, batches with --jobs and the progress line.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <map>

#include "run_convert.h"

namespace {

using namespace planora::test;

// One table of inputs with their exact outcomes, each run as in a sandbox
// (no HOME, no display). Every thumbnail made is also compared with
// ilbmtoppm | pamscale -linear, which averages areas the same way, within one
// step of rounding.
TEST(Thumbnailer, OutcomesAndPixelsAgainstPamscale) {
    // Sizes by hand: the larger side becomes SIZE, the other side * SIZE /
    // larger, rounded, at least 1. Width 0: fails and writes nothing.
    const struct { const char* input; Bytes bytes; int size, width, height; } rows[] = {
        {"landscape.iff", KnownPicture(320, 200, 5), 128, 128, 80},
        {"portrait.ilbm", KnownPicture(100, 300, 3), 64, 21, 64},  // 100 * 64 / 300 = 21.3
        {"odd-ratio.lbm", KnownPicture(97, 61, 8), 40, 40, 25},    // 61 * 40 / 97 = 25.2
        {"strip.iff", KnownPicture(500, 3, 4), 50, 50, 1},         // 0.3 -> at least 1
        {"small.iff", KnownPicture(50, 40, 2), 128, 50, 40},
        {"no-extension", KnownPicture(33, 17, 1), 16, 16, 8},      // 17 * 16 / 33 = 8.2
        {"not-iff.iff", Bytes(100, 'x'), 128, 0, 0},
        {"sound.iff", IlbmBuilder().FormType("8SVX").Chunk("VHDR", Bytes(20, 0)).Bytes(), 128, 0, 0},
        {"cut.iff", Cut(KnownPicture(64, 64, 4), 22), 128, 0, 0},  // the height reads 0
        // 320 MB of arrays: within the converter's 1 GiB, not the thumbnail's cap.
        {"over-the-cap.iff", IlbmBuilder().Bmhd(8000, 8000, 8).Body(Bytes(64, 0)).Bytes(), 128, 0, 0},
        {"missing.iff", {}, 128, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.input);
        TempDir dir;
        const std::string input = dir.File(row.input), output = dir.File("thumb.png");
        if (!row.bytes.empty()) WriteBytes(input, row.bytes);
        const auto start = std::chrono::steady_clock::now();
        const ProcessResult run = RunConvert({"--thumbnail", std::to_string(row.size), input, output}, "env -u HOME -u DISPLAY -u WAYLAND_DISPLAY ");
        // Nothing but the output is written, and only on success; failures come fast.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), !row.bytes.empty() + (row.width > 0));
        ASSERT_EQ(run.Status, row.width ? 0 : 1) << run.Err;
        if (row.width == 0) {
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
            continue;
        }
        const QImage thumb = QImage(output.c_str()).convertToFormat(QImage::Format_RGB888);
        ASSERT_EQ(thumb.size(), QSize(row.width, row.height));
        if (std::system("which ilbmtoppm pamscale >/dev/null") != 0) continue;
        const std::string size = std::to_string(row.width) + " -height " + std::to_string(row.height);
        ASSERT_EQ(std::system(("ilbmtoppm " + input + " | pamscale -linear -width " + size + " >" + dir.File("s.ppm")).c_str()), 0);
        const QImage expected = QImage(dir.File("s.ppm").c_str()).convertToFormat(QImage::Format_RGB888);
        ASSERT_EQ(expected.size(), thumb.size());
        for (int y = 0; y < row.height; ++y)
            for (int i = 0; i < 3 * row.width; ++i) ASSERT_LE(std::abs(thumb.constScanLine(y)[i] - expected.constScanLine(y)[i]), 1) << y;
    }
}

// A transparent pixel lends no colour: red beside a transparent blue is red at
// half opacity ((255 + 0) / 2 rounds to 128), not purple.
TEST(Thumbnailer, TransparentPixelsLendNoColour) {
    TempDir dir;
    IlbmBuilder()
        .Bmhd(BmhdFields{.Width = 2, .Height = 1, .Bitplanes = 1, .Masking = 2, .TransparentColour = 1})
        .Cmap({0xFF0000, 0x0000FF})
        .Body(IndexPicture(2, 1, {0, 1}), {.Planes = 1})
        .WriteTo(dir.File("a.iff"));
    ASSERT_EQ(RunConvert({"--thumbnail", "1", dir.File("a.iff"), dir.File("t.png")}).Status, 0);
    const QImage thumb(dir.File("t.png").c_str());
    ASSERT_EQ(thumb.size(), QSize(1, 1));
    EXPECT_EQ(thumb.pixel(0, 0), qRgba(255, 0, 0, 128));
}

// "-" as input reads standard input (here a pipe) and writes standard output,
// "--output -" writes standard output: the bytes a file gets, PNG with
// --format, else BMP.
TEST(Pipes, DashReadsStandardInputAndWritesStandardOutput) {
    TempDir dir;
    WriteBytes(dir.File("a.iff"), KnownPicture(13, 7, 3));
    for (const std::string format : {"png", "bmp"}) ASSERT_EQ(RunConvert({"-o", dir.File("a." + format), dir.File("a.iff")}).Status, 0);
    EXPECT_EQ(RunConvert({"--format", "png", "-"}, "cat " + dir.File("a.iff") + " | ").Out, Text(dir.File("a.png")));
    EXPECT_EQ(RunConvert({"--output", "-", dir.File("a.iff")}).Out, Text(dir.File("a.bmp")));
    const ProcessResult run = RunConvert({"-"}, "</dev/null ");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "-: not an IFF ILBM picture\n");
}

// A batch with everything that depends on order: every fourth picture has no
// CMAP and takes the colours of the one before; 7 inputs are not pictures;
// the last input's output name is taken by an earlier one's. Every job count
// gives the same files, messages and status.
TEST(Batch, EveryJobCountGivesTheSameFilesMessagesAndStatus) {
    TempDir inputs, out;
    std::vector<std::string> names;
    for (int i = 0; i < 240; ++i) {
        names.push_back(inputs.File("p" + std::to_string(1000 + i) + (i == 101 ? ".ilbm" : ".iff")));
        WriteBytes(names.back(), i % 37 == 5 ? Bytes(40, uint8_t(i)) : KnownPicture(20 + i % 50, 10 + i % 30, 1 + i % 8, i, i % 4 != 3));
    }
    names.push_back(inputs.File("p1101.iff"));
    WriteBytes(names.back(), KnownPicture(8, 8, 2));
    for (const std::string format : {"bmp", "png"}) {
        std::string first;
        for (const std::string jobs : {"1", "2", "5"}) {
            std::filesystem::remove_all(out.Path());
            std::filesystem::create_directory(out.Path());
            std::vector<std::string> args = {"--format", format, "--jobs", jobs, "-o", out.Path()};
            args.insert(args.end(), names.begin(), names.end());
            const ProcessResult run = RunConvert(args);
            std::map<std::string, std::string> files;
            for (const auto& entry : std::filesystem::directory_iterator(out.Path())) files[entry.path().filename()] = Text(entry.path());
            std::string outcome = std::to_string(run.Status) + "\n" + run.Err;
            for (const auto& [name, bytes] : files) outcome += name + bytes;
            if (first.empty()) {
                first = outcome;
                EXPECT_EQ(run.Status, 1);
                EXPECT_EQ(std::ranges::count(run.Err, '\n'), 8) << run.Err;
                EXPECT_EQ(files.size(), 233u);
            }
            EXPECT_TRUE(outcome == first) << format << " --jobs " << jobs;
        }
        // p1003 (23 x 13, 4 planes, no CMAP): pixel (1, 0), index 7, has colour
        // 7 of p1002's CMAP, 14 * 0x3F1D57 = 0x3739AC2, low 24 bits 739AC2.
        EXPECT_EQ(QImage(out.File("p1003." + format).c_str()).pixel(1, 0), 0xFF739AC2);
    }
}

// A progress line only when standard error is a terminal (script gives one),
// and not with --quiet.
TEST(Batch, ProgressLineOnlyOnATerminal) {
    TempDir dir;
    std::string command = "'" PLANORA_CONVERT_PATH "' -f --jobs 1";
    for (const std::string name : {"a.iff", "b.iff", "c.iff"}) {
        WriteBytes(dir.File(name), KnownPicture(8, 8, 2));
        command += " " + dir.File(name);
    }
    const auto run = [&](const std::string& how) {
        EXPECT_EQ(std::system((how + " >" + dir.File("log") + " 2>&1").c_str()), 0);
        return Text(dir.File("log"));
    };
    EXPECT_EQ(run(command), "");
    EXPECT_NE(run("script -qec \"" + command + "\" /dev/null").find("planora-convert: 2/3"), std::string::npos);
    EXPECT_EQ(run("script -qec \"" + command + " --quiet\" /dev/null"), "");
}

}  // namespace
