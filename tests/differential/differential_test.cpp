// Differential tests: pictures made by netpbm's ppmtoilbm or by our own
// IlbmBuilder are decoded by the core and by a reference decoder, and the
// pixels must be identical. Each display mode is compared with the decoder
// that decodes it as the program does:
//   ordinary palette pictures: ilbmtoppm and ffmpeg (and the source PPM);
//   Extra-Half-Brite and HAM6: ffmpeg (ilbmtoppm takes colours 32-63 from a
//   CMAP that has them, and keeps the held colour's low nibble in HAM6);
//   HAM8: ilbmtoppm (ffmpeg widens the 6 bits to 8); its rows start from
//   black, ours from colour 0, which ppmtoilbm's grey HAM colour map makes black.
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "ilbm_builder.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora {
namespace {

using test::RgbPicture;

#define REQUIRE_TOOLS(...)                                                         \
    for (const char* tool : {__VA_ARGS__})                                         \
        if (!test::HaveTool(tool)) GTEST_SKIP() << tool << " is not installed"

// Empty when the decoded picture equals the reference, else a description
// of the first differences.
std::string Differences(const PictureContext& pic, const RgbPicture& reference) {
    std::ostringstream out;
    if (reference.Width != pic.IlbmInfo.Width || reference.Height != pic.IlbmInfo.Height) {
        out << "size " << reference.Width << "x" << reference.Height << " vs ours " << pic.IlbmInfo.Width << "x"
            << pic.IlbmInfo.Height;
        return out.str();
    }
    int shown = 0, count = 0;
    for (int32_t y = 0; y < reference.Height; ++y) {
        for (int32_t x = 0; x < reference.Width; ++x) {
            const uint32_t ours = pic.ColourAt(x, y + 1);
            if (ours == reference.At(x, y)) continue;
            ++count;
            if (shown++ < 5)
                out << "(" << x << "," << y << "): reference " << std::hex << reference.At(x, y) << " ours " << ours
                    << std::dec << "; ";
        }
    }
    if (count > 0) out << count << " pixels differ";
    return out.str();
}

RgbPicture RandomPicture(std::mt19937& random, int32_t width, int32_t height, const std::vector<uint32_t>& colours) {
    RgbPicture p{width, height, {}};
    uint32_t c = colours[0];
    for (int32_t i = 0; i < width * height; ++i) {
        if (random() % 3 != 0) c = colours[random() % colours.size()];  // some runs for ByteRun1
        p.Rgb.push_back(uint8_t(c >> 16));
        p.Rgb.push_back(uint8_t(c >> 8));
        p.Rgb.push_back(uint8_t(c));
    }
    return p;
}

RgbPicture RandomPicture(std::mt19937& random, int32_t width, int32_t height) {
    std::vector<uint32_t> any(4096);
    for (uint32_t& c : any) c = random() & 0xFFFFFF;
    return RandomPicture(random, width, height, any);
}

struct Made {
    std::string Path;
    bool Ok = false;
};

Made MakeWithPpmtoilbm(const test::TempDir& dir, const std::string& name, const RgbPicture& picture,
                       const std::string& options) {
    const std::string ppm = dir.File(name + ".ppm");
    test::WritePpm(ppm, picture);
    Made made{dir.File(name + ".iff"), false};
    made.Ok = test::Run("ppmtoilbm -quiet " + options + " " + ppm + " >" + made.Path, dir.File(name + ".log"));
    return made;
}

// One plane count per test: raw and ByteRun1, odd and even widths.
class PalettePictures : public ::testing::TestWithParam<int> {};

TEST_P(PalettePictures, AgreeWithTheSourceIlbmtoppmAndFfmpeg) {
    REQUIRE_TOOLS("ppmtoilbm", "ilbmtoppm", "ffmpeg");
    const int planes = GetParam();
    test::TempDir dir;
    std::mt19937 random(2024 + unsigned(planes));
    struct Case { std::string name; RgbPicture source; Made made; };
    std::vector<Case> cases;
    std::vector<test::FfmpegInput> inputs;
    for (const char* packing : {"-nocompress", "-compress"}) {
        for (auto [width, height] : {std::pair{1, 3}, {13, 5}, {48, 4}}) {
            std::vector<uint32_t> colours(size_t(1) << planes);
            for (uint32_t& c : colours) c = random() & 0xFFFFFF;
            Case c;
            c.name = "p" + std::to_string(planes) + packing + std::to_string(width);
            c.source = RandomPicture(random, width, height, colours);
            c.made = MakeWithPpmtoilbm(dir, c.name, c.source,
                                       std::string(packing) + " -maxplanes 8 -fixplanes " + std::to_string(planes));
            ASSERT_TRUE(c.made.Ok) << c.name;
            inputs.push_back({c.made.Path, width, height});
            cases.push_back(std::move(c));
        }
    }
    const std::vector<RgbPicture> byFfmpeg = test::DecodeAllWithFfmpeg(inputs, dir.File("ffmpeg.log"));
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(c.made.Path), 1) << c.name;
        ASSERT_EQ(pic.IlbmInfo.Bitplanes, planes) << c.name;
        EXPECT_EQ(pic.IlbmInfo.Packtype, c.name.find("-compress") != std::string::npos ? 1 : 0) << c.name;
        EXPECT_EQ(Differences(pic, c.source), "") << c.name << " against the source";
        EXPECT_EQ(Differences(pic, test::DecodeWithIlbmtoppm(c.made.Path)), "") << c.name << " against ilbmtoppm";
        EXPECT_EQ(Differences(pic, byFfmpeg[i]), "") << c.name << " against ffmpeg";
    }
}

INSTANTIATE_TEST_SUITE_P(Differential, PalettePictures, ::testing::Range(1, 9));

TEST(Differential, Ham6AgreesWithFfmpeg) {
    REQUIRE_TOOLS("ppmtoilbm", "ffmpeg");
    test::TempDir dir;
    std::mt19937 random(6);
    std::vector<test::FfmpegInput> inputs;
    for (const char* packing : {"-nocompress", "-compress"}) {
        for (auto [width, height] : {std::pair{17, 6}, {64, 3}}) {
            const std::string name = std::string("ham6") + packing + std::to_string(width);
            const Made made = MakeWithPpmtoilbm(dir, name, RandomPicture(random, width, height), std::string(packing) + " -ham6");
            ASSERT_TRUE(made.Ok) << name;
            inputs.push_back({made.Path, width, height});
        }
    }
    const std::vector<RgbPicture> byFfmpeg = test::DecodeAllWithFfmpeg(inputs, dir.File("ffmpeg.log"));
    for (size_t i = 0; i < inputs.size(); ++i) {
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(inputs[i].Path), 1) << inputs[i].Path;
        ASSERT_EQ(pic.IlbmInfo.DisplayMode, 2) << inputs[i].Path;
        EXPECT_EQ(Differences(pic, byFfmpeg[i]), "") << inputs[i].Path;
    }
}

TEST(Differential, Ham8AgreesWithIlbmtoppm) {
    REQUIRE_TOOLS("ppmtoilbm", "ilbmtoppm");
    test::TempDir dir;
    std::mt19937 random(8);
    for (const char* packing : {"-nocompress", "-compress"}) {
        for (auto [width, height] : {std::pair{17, 6}, {64, 3}}) {
            const std::string name = std::string("ham8") + packing + std::to_string(width);
            const Made made = MakeWithPpmtoilbm(dir, name, RandomPicture(random, width, height), std::string(packing) + " -ham8");
            ASSERT_TRUE(made.Ok) << name;
            PictureContext pic;
            ASSERT_EQ(pic.Load_IFF_To_Array(made.Path), 1) << name;
            ASSERT_EQ(pic.IlbmInfo.DisplayMode, 3) << name;
            ASSERT_EQ(pic.Palette[0], 0u) << name << ": colour 0 must be black for this comparison";
            EXPECT_EQ(Differences(pic, test::DecodeWithIlbmtoppm(made.Path)), "") << name;
        }
    }
}

// A 6-plane picture of random indices with CAMG 0x80 and a 32-colour CMAP.
test::IlbmBuilder HalfBritePicture(std::mt19937& random, int32_t width, int32_t height, test::Packing packing) {
    std::vector<uint32_t> cmap(32);
    for (uint32_t& c : cmap) c = random() & 0xFFFFFF;
    test::IndexPicture picture(width, height);
    for (uint8_t& p : picture.Pixels) p = uint8_t(random() % 64);
    test::IlbmBuilder b;
    b.Bmhd(width, height, 6, packing == test::Packing::ByteRun1 ? 1 : 0).Cmap(cmap).Camg(0x80)
        .Body(picture, {.Planes = 6, .Compression = packing});
    return b;
}

TEST(Differential, ExtraHalfBriteAgreesWithFfmpeg) {
    REQUIRE_TOOLS("ffmpeg");
    test::TempDir dir;
    std::mt19937 random(64);
    std::vector<test::FfmpegInput> inputs;
    for (test::Packing packing : {test::Packing::Raw, test::Packing::ByteRun1}) {
        for (auto [width, height] : {std::pair{19, 5}, {48, 2}}) {
            const std::string path = dir.File("ehb" + std::to_string(int(packing)) + "_" + std::to_string(width) + ".iff");
            HalfBritePicture(random, width, height, packing).WriteTo(path);
            inputs.push_back({path, width, height});
        }
    }
    const std::vector<RgbPicture> byFfmpeg = test::DecodeAllWithFfmpeg(inputs, dir.File("ffmpeg.log"));
    for (size_t i = 0; i < inputs.size(); ++i) {
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(inputs[i].Path), 1) << inputs[i].Path;
        ASSERT_EQ(pic.IlbmInfo.HalfBriteFlag, 1);
        EXPECT_EQ(Differences(pic, byFfmpeg[i]), "") << inputs[i].Path;
    }
}

TEST(Differential, MaskPlaneAgreesWithIlbmtoppm) {
    REQUIRE_TOOLS("ilbmtoppm");
    test::TempDir dir;
    std::mt19937 random(1);
    for (test::Packing packing : {test::Packing::Raw, test::Packing::ByteRun1}) {
        for (auto [width, height] : {std::pair{19, 5}, {48, 2}}) {
            // An ordinary 6-plane, 64-colour picture with a mask plane after each row's bitplanes.
            std::vector<uint32_t> cmap(64);
            for (uint32_t& c : cmap) c = random() & 0xFFFFFF;
            test::IndexPicture picture(width, height);
            for (uint8_t& p : picture.Pixels) p = uint8_t(random() % 64);
            const uint8_t packtype = packing == test::Packing::ByteRun1 ? 1 : 0;
            test::IlbmBuilder b;
            b.Bmhd(width, height, 6, packtype, 1).Cmap(cmap).Camg(0)
                .Body(picture, {.Planes = 6, .Compression = packing, .MaskPlane = true, .MaskByte = 0xA5});
            const std::string path = dir.File("mask" + std::to_string(packtype) + "_" + std::to_string(width) + ".iff");
            b.WriteTo(path);
            PictureContext pic;
            ASSERT_EQ(pic.Load_IFF_To_Array(path), 1) << path;
            EXPECT_EQ(Differences(pic, test::DecodeWithIlbmtoppm(path)), "") << path;
        }
    }
}

}  // namespace
}  // namespace planora
