// The converter on the desktop: the thumbnailer as file managers run it
// (planora-convert --thumbnail SIZE INPUT OUTPUT), "-" for standard input and
// output, batches with --jobs and the progress line.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

#include "run_convert.h"

namespace {

using namespace planora::test;

// The inputs of tests/data/thumbnail.tsv with their exact outcomes, each run
// as in a sandbox (an empty environment: no HOME, no display); the pixels
// against one worked by hand or against the thumbnail ilbmtoppm | pamscale
// made of the same input.
TEST(Thumbnailer, OutcomesAndPixelsAgainstPamscale) {
    std::ifstream table(PLANORA_TEST_DATA "/thumbnail.tsv");
    int rows = 0;
    for (std::string line, name; std::getline(table, line);) {
        std::istringstream fields(line);
        int size, width, height;
        uint32_t pixel;
        if (line[0] == '#' || !(fields >> name >> size >> width >> height >> std::hex >> pixel)) continue;
        SCOPED_TRACE(line);
        ++rows;
        TempDir dir;
        const std::string input = PLANORA_TEST_DATA "/thumbnail/" + name;
        const ProcessResult run = RunConvert({"--thumbnail", std::to_string(size), input, dir.File("t.png")}, "env -i ");
        // Nothing but the thumbnail is written, and only on success.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), width > 0);
        ASSERT_EQ(run.Status, width ? 0 : 1) << run.Err;
        if (width == 0) continue;
        const QImage thumb(dir.File("t.png").c_str()), rgb = thumb.convertToFormat(QImage::Format_RGB888);
        ASSERT_EQ(thumb.size(), QSize(width, height));
        if (pixel) {
            EXPECT_EQ(thumb.pixel(0, 0), pixel);
            continue;
        }
        const QImage expected = QImage((input + ".ppm").c_str()).convertToFormat(QImage::Format_RGB888);
        ASSERT_EQ(expected.size(), thumb.size());
        for (int y = 0; y < height; ++y)
            for (int i = 0; i < 3 * width; ++i) ASSERT_LE(std::abs(rgb.constScanLine(y)[i] - expected.constScanLine(y)[i]), 1) << y;
    }
    EXPECT_EQ(rows, 18);
}

// "-" as input reads standard input (here a pipe) and writes standard output,
// "--output -" writes standard output: the bytes a file gets, PNG with
// --format, else BMP.
TEST(Pipes, DashReadsStandardInputAndWritesStandardOutput) {
    TempDir dir;
    const std::string input = PLANORA_TEST_DATA "/thumbnail/landscape.iff";
    for (const std::string format : {"png", "bmp"}) ASSERT_EQ(RunConvert({"-o", dir.File("a." + format), input}).Status, 0);
    EXPECT_EQ(RunConvert({"--format", "png", "-"}, "cat " + input + " | ").Out, Text(dir.File("a.png")));
    EXPECT_EQ(RunConvert({"--output", "-", input}).Out, Text(dir.File("a.bmp")));
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
    std::vector<std::string> args = {"--format", "", "--jobs", "", "-o", out.Path()};
    for (int i = 0; i < 240; ++i) {
        args.push_back(inputs.File("p" + std::to_string(1000 + i) + (i == 101 ? ".ilbm" : ".iff")));
        WriteBytes(args.back(), i % 37 == 5 ? Bytes(40, uint8_t(i)) : KnownPicture(20 + i % 50, 10 + i % 30, 1 + i % 8, i, i % 4 != 3));
    }
    args.push_back(inputs.File("p1101.iff"));
    WriteBytes(args.back(), KnownPicture(8, 8, 2));
    for (const std::string format : {"bmp", "png"}) {
        std::string first;
        for (const std::string jobs : {"1", "2", "5"}) {
            std::filesystem::remove_all(out.Path());
            std::filesystem::create_directory(out.Path());
            args[1] = format;
            args[3] = jobs;
            const ProcessResult run = RunConvert(args);
            std::map<std::string, std::string> files;
            for (const auto& entry : std::filesystem::directory_iterator(out.Path())) files[entry.path().filename()] = Text(entry.path());
            EXPECT_EQ(run.Status, 1);
            EXPECT_EQ(std::ranges::count(run.Err, '\n'), 8) << run.Err;
            EXPECT_EQ(files.size(), 233u);
            std::string outcome = run.Err;
            for (const auto& [name, bytes] : files) outcome += name + bytes;
            if (first.empty()) first = outcome;
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
    const std::string command = "cd " PLANORA_TEST_DATA "/thumbnail && '" PLANORA_CONVERT_PATH "' -f --jobs 1 -o " + dir.Path() + " small.iff strip portrait.ilbm";
    const auto run = [&](const std::string& how) {
        EXPECT_EQ(std::system((how + " >" + dir.File("log") + " 2>&1").c_str()), 0);
        return Text(dir.File("log"));
    };
    EXPECT_EQ(run(command), "");
    EXPECT_NE(run("script -qec \"" + command + "\" /dev/null").find("planora-convert: 2/3"), std::string::npos);
    EXPECT_EQ(run("script -qec \"" + command + " --quiet\" /dev/null"), "");
}

}  // namespace
