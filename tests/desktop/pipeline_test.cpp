// The converter in pipelines and batches: "-" for standard input and output,
// --jobs, the progress line.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <map>

#include "reference_tools.h"
#include "run_convert.h"

namespace {

using namespace planora::test;

// A batch with everything that depends on order: every fourth picture has no
// CMAP and takes the colours of the one before; 7 inputs are not pictures;
// the last input's output name is taken by an earlier one's.
TEST(Batch, EveryJobCountGivesTheSameFilesMessagesAndStatus) {
    TempDir inputs;
    std::vector<std::string> names;
    for (int i = 0; i < 240; ++i) {
        names.push_back(inputs.File("p" + std::to_string(1000 + i) + (i == 101 ? ".ilbm" : ".iff")));
        if (i % 37 == 5)
            WriteBytes(names.back(), std::vector<uint8_t>(40, uint8_t(i)));
        else
            MakeKnownPicture(20 + i % 50, 10 + i % 30, 1 + i % 8, i).File(0, i % 4 != 3).WriteTo(names.back());
    }
    names.push_back(inputs.File("p1101.iff"));
    MakeKnownPicture(8, 8, 2).File().WriteTo(names.back());

    for (const std::string format : {"bmp", "png"}) {
        std::map<std::string, std::vector<uint8_t>> firstFiles;
        ProcessResult first;
        for (const std::string jobs : {"1", "2", "5"}) {
            SCOPED_TRACE(format + " --jobs " + jobs);
            TempDir out, scratch;
            std::vector<std::string> args = {"--format", format, "--jobs", jobs, "-o", out.Path()};
            args.insert(args.end(), names.begin(), names.end());
            ProcessResult run = RunConvert(scratch, args);
            for (size_t at; (at = run.Err.find(out.Path())) != std::string::npos;) run.Err.replace(at, out.Path().size(), "OUT");
            std::map<std::string, std::vector<uint8_t>> files;
            for (const auto& entry : std::filesystem::directory_iterator(out.Path()))
                files[entry.path().filename()] = ReadBytes(entry.path());
            if (jobs != "1") {
                EXPECT_EQ(run.Status, first.Status);
                EXPECT_EQ(run.Err, first.Err);
                EXPECT_TRUE(files == firstFiles);
                continue;
            }
            first = run;
            firstFiles = files;
            EXPECT_EQ(run.Status, 1);
            EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 8) << run.Err;
            EXPECT_EQ(files.size(), 233u);
            // p1003 (23 x 13, 4 planes, no CMAP): pixel (1, 0), index 7, has colour 7 of p1002's CMAP.
            const QImage carried(QString::fromStdString(out.File("p1003." + format)));
            EXPECT_EQ(carried.pixel(1, 0) & 0xFFFFFF, MakeKnownPicture(22, 12, 3, 2).Palette[7]);
        }
    }
}

TEST(Pipes, DashReadsStandardInputAndWritesStandardOutput) {
    TempDir dir, scratch;
    const KnownPicture picture = MakeKnownPicture(13, 7, 3);
    picture.File().WriteTo(dir.File("a.iff"));

    ProcessResult run = RunConvert(scratch, {"--format", "png", "-"}, "", dir.File("a.iff"));
    ASSERT_EQ(run.Status, 0) << run.Err;
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(run.Out.data()), int(run.Out.size()));
    ASSERT_EQ(image.size(), QSize(13, 7));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, picture.ColourAt(x, y));

    // Without --format, BMP: the bytes the converter writes to a file.
    run = RunConvert(scratch, {"--output", "-", dir.File("a.iff")});
    ASSERT_EQ(RunConvert(scratch, {"-o", dir.File("a.bmp"), dir.File("a.iff")}).Status, 0);
    EXPECT_EQ(std::vector<uint8_t>(run.Out.begin(), run.Out.end()), ReadBytes(dir.File("a.bmp")));

    run = RunConvert(scratch, {"-"}, "", "/dev/null");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "-: not an IFF ILBM picture\n");
}

// A progress line only when standard error is a terminal (script gives one),
// and not with --quiet.
TEST(Batch, ProgressLineOnlyOnATerminal) {
    TempDir dir, scratch;
    std::vector<std::string> args = {"-f"};
    std::string command = "'" PLANORA_CONVERT_PATH "' -f --jobs 1";
    for (const char* name : {"a.iff", "b.iff", "c.iff"}) {
        MakeKnownPicture(8, 8, 2).File().WriteTo(dir.File(name));
        args.push_back(dir.File(name));
        command += " '" + dir.File(name) + "'";
    }
    EXPECT_EQ(RunConvert(scratch, args).Err, "");
    const auto onTerminal = [&](const std::string& option) {
        planora::test::Run("script -qec \"" + command + option + "\" /dev/null >" + scratch.File("tty"), scratch.File("log"));
        const std::vector<uint8_t> bytes = ReadBytes(scratch.File("tty"));
        return std::string(bytes.begin(), bytes.end());
    };
    EXPECT_NE(onTerminal("").find("planora-convert: 2/3"), std::string::npos);
    EXPECT_EQ(onTerminal(" --quiet"), "");
}

}  // namespace
