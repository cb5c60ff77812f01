// The converter as a user runs it: the real planora-convert process on files
// in a temporary folder, checking exit status, messages and what lands on disk.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

#include "ilbm_builder.h"
#include "temp_dir.h"

namespace {

using namespace planora::test;

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const std::string& path) {
    const auto bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs planora-convert with the arguments (each single-quoted for the shell).
RunResult Convert(const TempDir& dir, const std::vector<std::string>& args) {
    std::string command = "'" PLANORA_CONVERT_PATH "'";
    for (const auto& arg : args) command += " '" + arg + "'";
    command += " >'" + dir.File("stdout.txt") + "' 2>'" + dir.File("stderr.txt") + "'";
    RunResult result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = ReadText(dir.File("stdout.txt"));
    result.err = ReadText(dir.File("stderr.txt"));
    return result;
}

// A 2 x 1 picture, pure red then pure blue: the BMP is the 62-byte example.
IlbmBuilder RedBlue() {
    IlbmBuilder file;
    file.Bmhd(2, 1, 1).Cmap({0xFF0000, 0x0000FF}).Camg(0).Body(IndexPicture(2, 1, {0, 1}), {1});
    return file;
}

const std::vector<uint8_t> kRedBlueBmp = {
    0x42, 0x4D, 0x3E, 0, 0, 0, 0, 0, 0, 0, 0x36, 0, 0, 0, 0x28, 0, 0, 0, 2, 0, 0, 0, 1,
    0,    0,    0,    1, 0, 0x20, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0};

TEST(ConvertCli, WritesTheBmpBesideTheInputByDefault) {
    TempDir dir;
    RedBlue().WriteTo(dir.File("pic.iff"));
    const RunResult run = Convert(dir, {dir.File("pic.iff")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadBytes(dir.File("pic.bmp")), kRedBlueBmp);
}

TEST(ConvertCli, FormatFollowsTheOutputExtension) {
    TempDir dir;
    RedBlue().WriteTo(dir.File("pic.iff"));
    ASSERT_EQ(Convert(dir, {"--output", dir.File("colours.txt"), dir.File("pic.iff")}).status, 0);
    // One plane: two palette lines.
    EXPECT_EQ(ReadText(dir.File("colours.txt")), "$ff0000\r\n$0000ff\r\n");

    ASSERT_EQ(Convert(dir, {"--output=" + dir.File("pixels.lut"), dir.File("pic.iff")}).status, 0);
    // (Width + 1) x (Height + 1) indices, row 0 and the last column zero.
    EXPECT_EQ(ReadBytes(dir.File("pixels.lut")), (std::vector<uint8_t>{0, 0, 0, 0, 1, 0}));

    ASSERT_EQ(Convert(dir, {"--format", "rgb", "-o", dir.File("pixels.raw"), dir.File("pic.iff")}).status, 0);
    // The extra column holds index 0, mapped to red.
    EXPECT_EQ(ReadBytes(dir.File("pixels.raw")),
              (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0}));
}

TEST(ConvertCli, PngHoldsTheSamePixels) {
    TempDir dir;
    RedBlue().WriteTo(dir.File("pic.iff"));
    ASSERT_EQ(Convert(dir, {"--format", "png", dir.File("pic.iff")}).status, 0);
    const auto png = ReadBytes(dir.File("pic.png"));
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    // Width and height in the IHDR chunk.
    EXPECT_EQ(png[19], 2);
    EXPECT_EQ(png[23], 1);
}

TEST(ConvertCli, RefusesToReplaceAnExistingFileWithoutForce) {
    TempDir dir;
    RedBlue().WriteTo(dir.File("pic.iff"));
    WriteBytes(dir.File("pic.bmp"), {'o', 'l', 'd'});
    const RunResult refused = Convert(dir, {dir.File("pic.iff")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err.rfind(dir.File("pic.iff") + ": ", 0), 0u) << refused.err;
    EXPECT_NE(refused.err.find("--force"), std::string::npos);
    EXPECT_EQ(ReadText(dir.File("pic.bmp")), "old");

    EXPECT_EQ(Convert(dir, {"--force", dir.File("pic.iff")}).status, 0);
    EXPECT_EQ(ReadBytes(dir.File("pic.bmp")), kRedBlueBmp);
}

TEST(ConvertCli, ReportsEachFailedInputAndGoesOn) {
    TempDir dir;
    RedBlue().WriteTo(dir.File("good.iff"));
    WriteBytes(dir.File("text.iff"), {'h', 'e', 'l', 'l', 'o', '\n'});
    IlbmBuilder overflowing = RedBlue();
    overflowing.FormLength(0x80000000u);
    overflowing.WriteTo(dir.File("huge.iff"));
    const RunResult run =
        Convert(dir, {dir.File("missing.iff"), dir.File("text.iff"), dir.File("huge.iff"), dir.File("good.iff")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, dir.File("missing.iff") + ": Error- File Doesn't Exist\n" + dir.File("text.iff") +
                           ": not an IFF ILBM picture\n" + dir.File("huge.iff") +
                           ": Load Error:  6  Overflow\n");
    EXPECT_EQ(ReadBytes(dir.File("good.bmp")), kRedBlueBmp);
    EXPECT_EQ(ReadBytes(dir.File("text.bmp")), std::vector<uint8_t>{});
}

TEST(ConvertCli, AnUnwritableOutputIsASaveError) {
    TempDir dir;
    RedBlue().WriteTo(dir.File("pic.iff"));
    WriteBytes(dir.File("plain-file"), {'x'});
    const RunResult run = Convert(dir, {"--output", dir.File("plain-file") + "/out.bmp", dir.File("pic.iff")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, dir.File("pic.iff") + ": Error:  76 Path not found\n");
}

// A full disk (the file size limit of the converter's process) keeps the old
// file and leaves no temporary file behind.
TEST(ConvertCli, FullDiskKeepsTheOldFile) {
    TempDir dir;
    IlbmBuilder file;
    file.Bmhd(64, 64, 1).Cmap({0, 0xFFFFFF}).Camg(0).Body(IndexPicture(64, 64, 1), {1});
    file.WriteTo(dir.File("pic.iff"));
    WriteBytes(dir.File("pic.bmp"), {'o', 'l', 'd'});
    const std::string command = "trap '' XFSZ; ulimit -f 1; exec '" PLANORA_CONVERT_PATH "' --force '" +
                                dir.File("pic.iff") + "' 2>'" + dir.File("err.txt") + "'";
    const int raw = std::system(("sh -c \"" + command + "\"").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 1);
    EXPECT_EQ(ReadText(dir.File("err.txt")), dir.File("pic.iff") + ": Error:  61 Disk full\n");
    EXPECT_EQ(ReadText(dir.File("pic.bmp")), "old");
    const int leftovers = std::system(("ls '" + dir.Path() + "' | grep -q planora-").c_str());
    EXPECT_NE(leftovers, 0) << "a temporary file was left behind";
}

TEST(ConvertCli, PictureWithoutPixelsIsNotWritten) {
    TempDir dir;
    IlbmBuilder empty;
    empty.Bmhd(0, 5, 1).Camg(0);
    empty.WriteTo(dir.File("empty.iff"));
    const RunResult run = Convert(dir, {dir.File("empty.iff")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, dir.File("empty.iff") + ": picture has no pixels\n");
    EXPECT_EQ(ReadBytes(dir.File("empty.bmp")), std::vector<uint8_t>{});
}

TEST(ConvertCli, InfoPrintsTheDetailsAndWritesNothing) {
    TempDir dir;
    IlbmBuilder file;
    file.Bmhd(320, 256, 5).Cmap(std::vector<uint32_t>(32, 0x102030)).Camg(0x80);
    file.WriteTo(dir.File("boing.iff"));
    const RunResult run = Convert(dir, {"--info", dir.File("boing.iff")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "File: BOING\nWidth :  320\nHeight :  256\nBitplanes:  5\nPixels :  81920\nXpos:  0\nYpos:  0\n"
              "Masking:  0\nPacktype:  0\nX Aspect Ratio:  0\nY Aspect Ratio:  0\nMask Colour: $0000000\n"
              "Mode ID: $0000080\nMode: HalfBright\n");
    EXPECT_EQ(ReadBytes(dir.File("boing.bmp")), std::vector<uint8_t>{});
}

TEST(ConvertCli, SeveralInputsGoIntoTheOutputFolder) {
    TempDir dir;
    RedBlue().WriteTo(dir.File("a.iff"));
    RedBlue().WriteTo(dir.File("b.ilbm"));
    ASSERT_EQ(std::system(("mkdir '" + dir.File("out") + "'").c_str()), 0);
    EXPECT_EQ(Convert(dir, {"-o", dir.File("out"), dir.File("a.iff"), dir.File("b.ilbm")}).status, 0);
    EXPECT_EQ(ReadBytes(dir.File("out/a.bmp")), kRedBlueBmp);
    EXPECT_EQ(ReadBytes(dir.File("out/b.bmp")), kRedBlueBmp);
    // A file is not a folder for several inputs: usage error.
    EXPECT_EQ(Convert(dir, {"-o", dir.File("a.iff"), dir.File("a.iff"), dir.File("b.ilbm")}).status, 2);
}

TEST(ConvertCli, UsageErrorsAndHelp) {
    TempDir dir;
    const RunResult none = Convert(dir, {});
    EXPECT_EQ(none.status, 2);
    EXPECT_NE(none.err.find("Usage: planora-convert"), std::string::npos);
    EXPECT_EQ(Convert(dir, {"--format", "gif", "x.iff"}).status, 2);
    EXPECT_EQ(Convert(dir, {"--bogus", "x.iff"}).status, 2);
    const RunResult help = Convert(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: planora-convert", 0), 0u);
}

TEST(ConvertCli, NeverWritesOverItsInput) {
    TempDir dir;
    RedBlue().WriteTo(dir.File("pic.bmp"));  // an ILBM with a misleading name
    const auto before = ReadBytes(dir.File("pic.bmp"));
    EXPECT_EQ(Convert(dir, {"--force", dir.File("pic.bmp")}).status, 1);
    EXPECT_EQ(ReadBytes(dir.File("pic.bmp")), before);
}

// Palettes carry over from one picture to the next in one run, as in the
// program: a 1-colour CMAP leaves colour 1 from the picture before.
TEST(ConvertCli, PalettesCarryOverBetweenInputs) {
    TempDir dir;
    RedBlue().WriteTo(dir.File("a.iff"));
    IlbmBuilder second;
    second.Bmhd(2, 1, 1).Cmap({0x00FF00}).Camg(0).Body(IndexPicture(2, 1, {0, 1}), {1});
    second.WriteTo(dir.File("b.iff"));
    ASSERT_EQ(std::system(("mkdir '" + dir.File("out") + "'").c_str()), 0);
    ASSERT_EQ(Convert(dir, {"--format", "txt", "-o", dir.File("out"), dir.File("a.iff"), dir.File("b.iff")}).status, 0);
    EXPECT_EQ(ReadText(dir.File("out/b.txt")), "$00ff00\r\n$0000ff\r\n");
}

}  // namespace
