// The converter as a user runs it: the real planora-convert process on files
// in a temporary folder, one row per run with its exit status, messages and
// what must (or must not) be on disk afterwards; and the PNG output read back
// by ffmpeg, with transparency from mask planes, transparent colours and
// deep alpha planes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstring>
#include <filesystem>

#include "ilbm_builder.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

using Bytes = std::vector<uint8_t>;
const std::string kAbsent = "<absent>";

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Every "@" becomes the folder.
std::string Expand(std::string s, const std::string& dir) {
    for (size_t at = s.find('@'); at != std::string::npos; at = s.find('@', at + dir.size())) s.replace(at, 1, dir);
    return s;
}

// Equal, or, when expected ends in "*", a prefix.
bool Matches(const std::string& actual, const std::string& expected) {
    if (!expected.empty() && expected.back() == '*') return actual.rfind(expected.substr(0, expected.size() - 1), 0) == 0;
    return actual == expected;
}

const std::vector<uint32_t> kCmap = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

// A 2 x 1 picture, pure red then pure blue.
IlbmBuilder RedBlue() { return std::move(IlbmBuilder().Bmhd(2, 1, 1).Cmap({0xFF0000, 0x0000FF}).Camg(0).Body({0x40, 0})); }

// The BMP header of a 2 x 1 picture at 32 bits per pixel, then its pixels (blue, green, red, 0).
std::string Bmp2x1(const std::string& pixels) {
    const uint8_t header[54] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0,
                                1, 0, 32, 0, 0, 0, 0, 0, 8, 0, 0, 0};
    return std::string(header, header + 54) + pixels;
}
const std::string kRedBlueBmp = Bmp2x1(std::string("\0\0\xFF\0\xFF\0\0\0", 8));

void MakeFiles(const TempDir& dir) {
    for (const char* name : {"pic.iff", "old.iff", "a.ilbm", "lying.bmp"}) RedBlue().WriteTo(dir.File(name));  // lying: an ILBM
    RedBlue().FormLength(0x80000000u).WriteTo(dir.File("huge.iff"));
    for (auto [name, text] : {std::pair{"old.bmp", "old"}, {"big.bmp", "old"}, {"text.iff", "hello\n"}, {"plain-file", "x"}})
        WriteBytes(dir.File(name), Bytes(text, text + strlen(text)));
    std::filesystem::create_directory(dir.File("out"));
    // A 1-colour CMAP: colour 1 stays from the picture before.
    IlbmBuilder().Bmhd(2, 1, 1).Cmap({0x00FF00}).Camg(0).Body({0x40, 0}).WriteTo(dir.File("b.iff"));
    IlbmBuilder().Bmhd(0, 5, 1).Camg(0).WriteTo(dir.File("empty.iff"));
    IlbmBuilder().Bmhd(64, 64, 1).Cmap({0, 0xFFFFFF}).Camg(0).Body(Bytes(512, 0xFF)).WriteTo(dir.File("big.iff"));
    IlbmBuilder().Bmhd(320, 256, 5).Cmap(std::vector<uint32_t>(32, 0x102030)).Camg(0x80).WriteTo(dir.File("boing.iff"));
    IlbmBuilder().Bmhd(2, 1, 24).Body(EncodeDeepBody(2, 1, {0x123456, 0x654321}, 24, Packing::Raw)).WriteTo(dir.File("deep.iff"));
    // Mask plane 0x40: only the second pixel is opaque; a BMP has no alpha.
    IlbmBuilder().Bmhd(2, 1, 2, 0, 1).Camg(0).Cmap(kCmap).Body(IndexPicture(2, 1, {1, 2}), {2, Packing::Raw, true, 0x40})
        .WriteTo(dir.File("masked.iff"));
}

struct CliCase {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string err;
    std::vector<std::pair<std::string, std::string>> files = {};  // kAbsent: must not exist
    std::string out = "";
    std::string shell = "";  // run before the converter
};

// --info of a RedBlue picture named name.
std::string RedBlueInfo(const std::string& name) {
    return "File: " + name + "\nWidth :  2\nHeight :  1\nBitplanes:  1\nPixels :  2\nXpos:  0\nYpos:  0\nMasking:  0\n"
           "Packtype:  0\nX Aspect Ratio:  0\nY Aspect Ratio:  0\nMask Colour: $0000000\nMode ID: $0000000\n";
}

const std::string kUsage = "Usage: planora-convert [--format *";
const std::string kNoIndices = ": true-colour picture: it has no palette indices, so no chunky or palette file is written\n";

const CliCase kCliCases[] = {
    {"BmpBesideTheInput", {"@/pic.iff"}, 0, "", {{"pic.bmp", kRedBlueBmp}}},
    {"TextByExtension", {"--output", "@/c.txt", "@/pic.iff"}, 0, "", {{"c.txt", "$ff0000\r\n$0000ff\r\n"}}},
    // (Width + 1) x (Height + 1) indices, row 0 and the last column 0.
    {"ChunkyByExtension", {"--output=@/p.lut", "@/pic.iff"}, 0, "", {{"p.lut", std::string("\0\0\0\0\1\0", 6)}}},
    // The extra column holds index 0, red.
    {"RawRgbByFormat", {"--format", "rgb", "-o", "@/p.raw", "@/pic.iff"}, 0, "",
     {{"p.raw", std::string(12, '\0') + std::string("\0\0\xFF\0\xFF\0\0\0\0\0\xFF\0", 12)}}},
    {"RefusesToReplace", {"@/old.iff"}, 1, "@/old.iff: @/old.bmp exists; use --force to replace it\n", {{"old.bmp", "old"}}},
    {"ForceReplaces", {"--force", "@/old.iff"}, 0, "", {{"old.bmp", kRedBlueBmp}}},
    {"EachFailureReportedAndGoesOn", {"@/missing.iff", "@/text.iff", "@/huge.iff", "@/pic.iff"}, 1,
     "@/missing.iff: Error- File Doesn't Exist\n@/text.iff: not an IFF ILBM picture\n@/huge.iff: Load Error:  6  Overflow\n",
     {{"pic.bmp", kRedBlueBmp}, {"text.bmp", kAbsent}, {"huge.bmp", kAbsent}}},
    {"UnwritableOutput", {"--output", "@/plain-file/out.bmp", "@/pic.iff"}, 1, "@/pic.iff: Error:  76 Path not found\n"},
    // The file size limit of the converter's process stands for a full disk.
    {"FullDiskKeepsTheOldFile", {"--force", "@/big.iff"}, 1, "@/big.iff: Error:  61 Disk full\n", {{"big.bmp", "old"}}, "",
     "trap '' XFSZ; ulimit -f 1;"},
    {"NoPixels", {"@/empty.iff"}, 1, "@/empty.iff: picture has no pixels\n", {{"empty.bmp", kAbsent}}},
    {"InfoWritesNothing", {"--info", "@/boing.iff"}, 0, "", {{"boing.bmp", kAbsent}},
     "File: BOING\nWidth :  320\nHeight :  256\nBitplanes:  5\nPixels :  81920\nXpos:  0\nYpos:  0\nMasking:  0\n"
     "Packtype:  0\nX Aspect Ratio:  0\nY Aspect Ratio:  0\nMask Colour: $0000000\nMode ID: $0000080\nMode: HalfBright\n"},
    // One blank line between the blocks, whichever inputs failed around them.
    {"InfoBlocksApartByOneLine", {"--info", "@/text.iff", "@/pic.iff", "@/missing.iff", "@/a.ilbm"}, 1,
     "@/text.iff: not an IFF ILBM picture\n@/missing.iff: Error- File Doesn't Exist\n", {},
     RedBlueInfo("PIC") + "\n" + RedBlueInfo("A")},
    {"SeveralInputsIntoAFolder", {"-o", "@/out", "@/pic.iff", "@/a.ilbm"}, 0, "",
     {{"out/pic.bmp", kRedBlueBmp}, {"out/a.bmp", kRedBlueBmp}}},
    {"SeveralInputsNeedAFolder", {"-o", "@/pic.iff", "@/pic.iff", "@/a.ilbm"}, 2,
     "planora-convert: with several inputs, --output must name an existing folder: @/pic.iff\n*", {{"pic.bmp", kAbsent}}},
    {"PalettesCarryOverBetweenInputs", {"--format", "txt", "-o", "@/out", "@/pic.iff", "@/b.iff"}, 0, "",
     {{"out/b.txt", "$00ff00\r\n$0000ff\r\n"}}},
    {"NeverWritesOverItsInput", {"--force", "@/lying.bmp"}, 1, "@/lying.bmp: the output @/lying.bmp is the input itself; not written\n",
     {{"lying.bmp", Text(RedBlue().Bytes())}}},
    {"DeepHasNoChunkyFile", {"--format", "lut", "-o", "@/d.lut", "@/deep.iff"}, 1, "@/deep.iff" + kNoIndices, {{"d.lut", kAbsent}}},
    {"DeepHasNoPaletteText", {"-o", "@/d.txt", "@/deep.iff"}, 1, "@/deep.iff" + kNoIndices, {{"d.txt", kAbsent}}},
    {"DeepBmp", {"@/deep.iff"}, 0, "", {{"deep.bmp", Bmp2x1(std::string("\x56\x34\x12\0\x21\x43\x65\0", 8))}}},
    {"MaskedBmpKeepsTopByteZero", {"@/masked.iff"}, 0, "", {{"masked.bmp", Bmp2x1(std::string("\0\0\xFF\0\0\xFF\0\0", 8))}}},
    {"NoArguments", {}, 2, "planora-convert: no input file\n" + kUsage},
    {"UnknownFormat", {"--format", "gif", "x.iff"}, 2, "planora-convert: unknown format 'gif' (*"},
    {"UnknownOption", {"--bogus", "x.iff"}, 2, "planora-convert: unknown option '--bogus'\n" + kUsage},
    {"OptionWithoutValue", {"x.iff", "--output"}, 2, "planora-convert: --output needs a value\n" + kUsage},
    {"Help", {"--help"}, 0, "", {}, kUsage},
};

void PrintTo(const CliCase& c, std::ostream* os) { *os << c.name; }

class Converter : public testing::TestWithParam<CliCase> {};

TEST_P(Converter, Run) {
    const CliCase& c = GetParam();
    TempDir dir;
    MakeFiles(dir);
    std::string command = "'" PLANORA_CONVERT_PATH "'";
    for (const auto& arg : c.args) command += " '" + Expand(arg, dir.Path()) + "'";
    command = c.shell + command + " >'" + dir.File("stdout") + "' 2>'" + dir.File("stderr") + "'";
    const int raw = std::system(("sh -c \"" + command + "\"").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status);
    EXPECT_PRED2(Matches, Text(ReadBytes(dir.File("stderr"))), Expand(c.err, dir.Path()));
    EXPECT_PRED2(Matches, Text(ReadBytes(dir.File("stdout"))), c.out);
    for (const auto& [name, content] : c.files) {
        if (content == kAbsent) EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
        else EXPECT_EQ(Text(ReadBytes(dir.File(name))), content) << name;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().find("planora-"), std::string::npos) << "temporary file left: " << entry.path();
}

INSTANTIATE_TEST_SUITE_P(Runs, Converter, testing::ValuesIn(kCliCases),
                         [](const testing::TestParamInfo<CliCase>& info) { return std::string(info.param.name); });

// PNG output as ffmpeg reads it back: pixels 0xAARRGGBB; a transparent pixel
// is checked for its alpha only.
struct PngCase {
    const char* name;
    IlbmBuilder file;
    uint8_t colourType;  // 6: RGBA, 2: RGB
    std::vector<uint32_t> pixels;
};

std::vector<PngCase> PngCases() {
    BmhdFields transparent{.Width = 3, .Height = 1, .Bitplanes = 2, .Masking = 2, .TransparentColour = 2};
    return {
        // Mask byte 0xA0: bits 1, 0, 1 for the three pixels of each row.
        {"MaskPlane", std::move(IlbmBuilder().Bmhd(3, 2, 2, 1, 1).Camg(0).Cmap(kCmap)
             .Body(IndexPicture(3, 2, {1, 2, 3, 3, 2, 1}), {2, Packing::ByteRun1, true, 0xA0})),
         6, {0xFFFF0000, 0, 0xFF0000FF, 0xFF0000FF, 0, 0xFFFF0000}},
        {"TransparentColour", std::move(IlbmBuilder().Bmhd(transparent).Camg(0).Cmap(kCmap).Body(IndexPicture(3, 1, {1, 2, 3}), {2})),
         6, {0xFFFF0000, 0, 0xFF0000FF}},
        {"DeepAlphaPlanes",
         std::move(IlbmBuilder().Bmhd(3, 1, 32).Body(EncodeDeepBody(3, 1, {0xFF112233, 0x80445566, 0x00778899}, 32, Packing::Raw))),
         6, {0xFF112233, 0x80445566, 0}},
        {"Opaque", std::move(IlbmBuilder().Bmhd(3, 1, 2).Camg(0).Cmap(kCmap).Body(IndexPicture(3, 1, {1, 2, 3}), {2})), 2,
         {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
    };
}

class PngOutput : public testing::TestWithParam<PngCase> {};

TEST_P(PngOutput, HoldsThePixelsAndTheirAlpha) {
    const PngCase& c = GetParam();
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
    TempDir dir;
    c.file.WriteTo(dir.File("pic.iff"));
    ASSERT_EQ(std::system(("'" PLANORA_CONVERT_PATH "' --format png '" + dir.File("pic.iff") + "'").c_str()), 0);
    const Bytes png = ReadBytes(dir.File("pic.png"));
    ASSERT_GT(png.size(), 25u);
    EXPECT_EQ(png[25], c.colourType);
    ASSERT_EQ(std::system(("ffmpeg -v error -i '" + dir.File("pic.png") + "' -f rawvideo -pix_fmt rgba '" +
                           dir.File("pic.rgba") + "'").c_str()), 0);
    const Bytes rgba = ReadBytes(dir.File("pic.rgba"));
    ASSERT_EQ(rgba.size(), 4 * c.pixels.size());
    for (size_t i = 0; i < c.pixels.size(); ++i) {
        const uint32_t argb = uint32_t(rgba[4 * i + 3]) << 24 | rgba[4 * i] << 16 | rgba[4 * i + 1] << 8 | rgba[4 * i + 2];
        EXPECT_EQ(c.pixels[i] >> 24 ? argb : argb >> 24, c.pixels[i]) << "pixel " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, PngOutput, testing::ValuesIn(PngCases()),
                         [](const testing::TestParamInfo<PngCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace planora::test
