// Real PBM, deep, ACBM and compression 2 files from other programs, decoded
// by us and by the peer decoder that reads each kind as we do (netpbm's
// ilbmtoppm for PBM, deep, SHAM and PCHG pictures, FFmpeg for ACBM and
// compression 2), compared pixel for pixel. A missing peer skips the test. Also: the
// converter refuses the indexed exports of a true-colour picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "iff/picture_context.h"
#include "ilbm_builder.h"
#include "temp_dir.h"

namespace planora {
namespace {

std::string DataFile(const std::string& name) { return std::string(PLANORA_TEST_DATA) + "/" + name; }

bool HaveTool(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::vector<uint8_t> RunCapture(const std::string& command) {
    std::vector<uint8_t> out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.insert(out.end(), buffer, buffer + n);
    ::pclose(pipe);
    return out;
}

// RGB24 pixels of a binary PPM (P6, maxval 255); empty when it is not one.
std::vector<uint8_t> PpmPixels(const std::vector<uint8_t>& ppm, int32_t& width, int32_t& height) {
    std::string header(ppm.begin(), ppm.begin() + std::min<size_t>(ppm.size(), 64));
    std::istringstream in(header);
    std::string magic;
    int maxval = 0;
    in >> magic >> width >> height >> maxval;
    if (magic != "P6" || maxval != 255) return {};
    const size_t start = size_t(in.tellg()) + 1;
    return std::vector<uint8_t>(ppm.begin() + std::ptrdiff_t(start), ppm.end());
}

std::vector<uint8_t> OurPixels(const std::string& path, PictureContext& pic) {
    EXPECT_EQ(pic.Load_IFF_To_Array(path), 1) << path;
    std::vector<uint8_t> rgb;
    for (int32_t y = 1; y <= pic.IlbmInfo.Height; ++y)
        for (int32_t x = 0; x < pic.IlbmInfo.Width; ++x) {
            const uint32_t c = pic.ColourAt(x, y);
            rgb.insert(rgb.end(), {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
        }
    return rgb;
}

size_t CountDifferences(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    size_t d = 0;
    for (size_t i = 0; i < a.size(); ++i) d += a[i] != b[i];
    return d;
}

void CompareWithIlbmtoppm(const std::string& name) {
    if (!HaveTool("ilbmtoppm")) GTEST_SKIP() << "ilbmtoppm not installed";
    PictureContext pic;
    const auto ours = OurPixels(DataFile(name), pic);
    int32_t width = 0, height = 0;
    const auto theirs = PpmPixels(RunCapture("ilbmtoppm '" + DataFile(name) + "' 2>/dev/null"), width, height);
    ASSERT_EQ(width, pic.IlbmInfo.Width);
    ASSERT_EQ(height, pic.IlbmInfo.Height);
    EXPECT_EQ(CountDifferences(ours, theirs), 0u) << name;
}

void CompareWithFfmpeg(const std::string& name) {
    if (!HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg not installed";
    PictureContext pic;
    const auto ours = OurPixels(DataFile(name), pic);
    const auto theirs =
        RunCapture("ffmpeg -v error -i '" + DataFile(name) + "' -f rawvideo -pix_fmt rgb24 - 2>/dev/null");
    EXPECT_EQ(CountDifferences(ours, theirs), 0u) << name;
}

TEST(FormatsDifferential, PbmByteRun1AgainstIlbmtoppm) { CompareWithIlbmtoppm("pbm_sample.iff"); }
TEST(FormatsDifferential, Deep24AgainstIlbmtoppm) { CompareWithIlbmtoppm("deep24_small.iff"); }
TEST(FormatsDifferential, ShamInterlacedAgainstIlbmtoppm) { CompareWithIlbmtoppm("sham_somnambulist.iff"); }
// PCHG: small changes (Manhattan, 704 x 440, interlaced hires, changes from
// line 2) and big changes (an Extra-Half-Brite picture changing registers 2-31).
TEST(FormatsDifferential, PchgSmallChangesAgainstIlbmtoppm) { CompareWithIlbmtoppm("pchg_manhattan.iff"); }
TEST(FormatsDifferential, PchgBigChangesAgainstIlbmtoppm) { CompareWithIlbmtoppm("pchg_big_ehb_kde.iff"); }

// Huffman-packed PCHG data (no real file has it): a picture our builder
// writes, read by ilbmtoppm and by us. Each of 16 rows shows colours 0-3; row
// r's line changes colour r % 4 to a colour of its own.
TEST(FormatsDifferential, PchgHuffmanAgainstIlbmtoppm) {
    test::TempDir dir;
    const std::string path = dir.File("pchg_huffman.iff");
    std::vector<test::PchgLine> lines;
    for (int32_t line = 1; line < 16; ++line)
        lines.push_back(test::PchgLine{line, {uint16_t((line % 4) << 12 | (line * 0x111 & 0xFFF))}, {}, {}});
    test::IndexPicture picture(4, 16);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 4; ++x) picture.At(x, y) = uint8_t(x);
    test::IlbmBuilder()
        .Bmhd(4, 16, 2)
        .Camg(0)
        .Cmap({0x000000, 0x808080, 0x00FF00, 0x0000FF})
        .Pchg(test::PchgData(test::PchgOptions{false, 0, 16, true}, lines))
        .Body(picture, test::BodyOptions{2})
        .WriteTo(path);
    if (!HaveTool("ilbmtoppm")) GTEST_SKIP() << "ilbmtoppm not installed";
    PictureContext pic;
    const auto ours = OurPixels(path, pic);
    int32_t width = 0, height = 0;
    const auto theirs = PpmPixels(RunCapture("ilbmtoppm '" + path + "' 2>/dev/null"), width, height);
    ASSERT_EQ(height, 16);
    EXPECT_EQ(CountDifferences(ours, theirs), 0u);
    // Row 16 (line 15) still shows line 13's colour 1 (0x0DDD) and line 15's colour 3.
    EXPECT_EQ(pic.ColourAt(1, 16), 0x00DDDDDDu);
    EXPECT_EQ(pic.ColourAt(3, 16), 0x00FFFFFFu);
}

TEST(FormatsDifferential, AcbmAgainstFfmpeg) { CompareWithFfmpeg("acbm_sample.acbm"); }
TEST(FormatsDifferential, VerticalRleAgainstFfmpeg) { CompareWithFfmpeg("atari_vdat_sample.iff"); }

TEST(DeepExports, ConverterRefusesChunkyAndPaletteText) {
    test::TempDir dir;
    const std::string input = dir.File("deep.iff");
    std::vector<uint32_t> pixels = {0x123456, 0x654321};
    test::IlbmBuilder().Bmhd(2, 1, 24).Body(test::EncodeDeepBody(2, 1, pixels, 24, test::Packing::Raw)).WriteTo(input);
    for (const char* format : {"lut", "txt"}) {
        const std::string output = dir.File(std::string("out.") + format);
        const std::string command = std::string(PLANORA_CONVERT_PATH) + " --format " + format + " --output '" +
                                    output + "' '" + input + "' 2>&1; echo \"status $?\"";
        const auto result = RunCapture(command);
        const std::string text(result.begin(), result.end());
        EXPECT_NE(text.find("no palette indices"), std::string::npos) << text;
        EXPECT_NE(text.find("status 1"), std::string::npos) << text;
        EXPECT_FALSE(std::filesystem::exists(output)) << format;
    }
    // The true-colour outputs are written.
    const std::string bmp = dir.File("out.bmp");
    RunCapture(std::string(PLANORA_CONVERT_PATH) + " --output '" + bmp + "' '" + input + "' 2>&1");
    const auto bytes = test::ReadBytes(bmp);
    ASSERT_EQ(bytes.size(), 54u + 8u);
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 54, bytes.end())),
              (std::vector<uint8_t>{0x56, 0x34, 0x12, 0, 0x21, 0x43, 0x65, 0}));
}

}  // namespace
}  // namespace planora
