// The converter in pipelines and batches: "-" for standard input and output,
// --jobs, the progress line.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "reference_tools.h"
#include "run_convert.h"

namespace {

using namespace planora::test;

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::map<std::string, std::vector<uint8_t>> FolderContents(const std::string& folder) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        files[entry.path().filename().string()] = ReadBytes(entry.path().string());
    return files;
}

// A batch with everything that depends on order: every fourth picture has no
// CMAP and takes the colours of the one before; some inputs are not pictures;
// two inputs share an output name, so the second finds it taken.
TEST(Batch, EveryJobCountGivesTheSameFilesMessagesAndStatus) {
    TempDir inputs;
    std::vector<std::string> names;
    for (int i = 0; i < 240; ++i) {
        const std::string name = inputs.File("p" + std::to_string(1000 + i) + (i == 101 ? ".ilbm" : ".iff"));
        if (i % 37 == 5)
            WriteBytes(name, std::vector<uint8_t>(40, uint8_t(i)));
        else
            MakeKnownPicture(20 + i % 50, 10 + i % 30, 1 + i % 8, i).File(0, i % 4 != 3).WriteTo(name);
        names.push_back(name);
    }
    names.push_back(inputs.File("p1101.iff"));  // p1101.ilbm was converted to p1101.* already
    MakeKnownPicture(8, 8, 2).File().WriteTo(names.back());

    for (const char* format : {"bmp", "png"}) {
        SCOPED_TRACE(format);
        std::map<std::string, std::vector<uint8_t>> firstFiles;
        ProcessResult first;
        for (const char* jobs : {"1", "2", "5"}) {
            SCOPED_TRACE(jobs);
            TempDir out, scratch;
            std::vector<std::string> args = {"--format", format, "--jobs", jobs, "-o", out.Path()};
            args.insert(args.end(), names.begin(), names.end());
            ProcessResult run = RunConvert(scratch, args);
            for (size_t at; (at = run.Err.find(out.Path())) != std::string::npos;) run.Err.replace(at, out.Path().size(), "OUT");
            const auto files = FolderContents(out.Path());
            if (std::string(jobs) == "1") {
                first = run;
                firstFiles = files;
                EXPECT_EQ(run.Status, 1);
                // 7 inputs are not pictures, one finds its output taken.
                EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 8) << run.Err;
                EXPECT_EQ(files.size(), 240u - 7u);
                // p1003 (23 x 13, 4 planes) has no CMAP: its pixel (1, 0), index 7,
                // has colour 7 of p1002's CMAP.
                const KnownPicture before = MakeKnownPicture(22, 12, 3, 2);
                const QImage carried(QString::fromStdString(out.File(std::string("p1003.") + format)));
                ASSERT_EQ(carried.size(), QSize(23, 13));
                EXPECT_EQ(carried.pixel(1, 0) & 0xFFFFFF, before.Palette[7]);
            } else {
                EXPECT_EQ(run.Status, first.Status);
                EXPECT_EQ(run.Err, first.Err);
                EXPECT_TRUE(files == firstFiles);
            }
        }
    }
}

TEST(Pipes, DashReadsStandardInputAndWritesStandardOutput) {
    TempDir dir, scratch;
    const KnownPicture picture = MakeKnownPicture(13, 7, 3);
    picture.File().WriteTo(dir.File("a.iff"));

    // PNG on standard output, with the colours the picture was built with.
    ProcessResult run = RunConvert(scratch, {"--format", "png", "-"}, "", dir.File("a.iff"));
    ASSERT_EQ(run.Status, 0) << run.Err;
    const QImage image = QImage::fromData(reinterpret_cast<const uchar*>(run.Out.data()), int(run.Out.size()));
    ASSERT_EQ(image.size(), QSize(13, 7));
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, picture.ColourAt(x, y));

    // Without --format, BMP: the same bytes as the file the converter writes.
    run = RunConvert(scratch, {"-"}, "", dir.File("a.iff"));
    ASSERT_EQ(RunConvert(scratch, {"-o", dir.File("a.bmp"), dir.File("a.iff")}).Status, 0);
    EXPECT_EQ(run.Out, Text(ReadBytes(dir.File("a.bmp"))));

    // --output - for a file input; the palette as text, CR LF lines.
    run = RunConvert(scratch, {"--format", "txt", "--output", "-", dir.File("a.iff")});
    std::string expected;
    char line[16];
    for (uint32_t colour : picture.Palette) expected += (std::snprintf(line, sizeof line, "$%06x\r\n", colour), line);
    EXPECT_EQ(run.Out, expected);

    // Standard input that is not a picture: a message, status 1, nothing on standard output.
    run = RunConvert(scratch, {"-"}, "", "/dev/null");
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "-: not an IFF ILBM picture\n");
}

// A progress line only when standard error is a terminal (script gives one), and not with --quiet.
TEST(Batch, ProgressLineOnlyOnATerminal) {
    TempDir dir, scratch;
    std::string files;
    for (const char* name : {"a.iff", "b.iff", "c.iff"}) {
        MakeKnownPicture(8, 8, 2).File().WriteTo(dir.File(name));
        files += " '" + dir.File(name) + "'";
    }
    const std::string convert = "'" PLANORA_CONVERT_PATH "' -f --jobs 1";
    EXPECT_EQ(RunConvert(scratch, {"-f", dir.File("a.iff"), dir.File("b.iff"), dir.File("c.iff")}).Err, "");
    const auto onTerminal = [&](const std::string& options) {
        planora::test::Run("script -qec \"" + convert + options + files + "\" /dev/null >'" + scratch.File("tty") + "'",
            scratch.File("log"));
        return Text(ReadBytes(scratch.File("tty")));
    };
    EXPECT_NE(onTerminal("").find("planora-convert: 2/3"), std::string::npos);
    EXPECT_EQ(onTerminal(" --quiet"), "");
}

}  // namespace
