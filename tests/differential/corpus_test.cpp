// Real pictures from tests/data, compared with the reference decoder that
// decodes their display mode as the program does.
#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "ilbm_builder.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora {
namespace {

std::string DataFile(const std::string& name) { return std::string(PLANORA_TEST_DATA) + "/" + name; }

// Number of pixels that differ (-1 when the sizes differ).
int64_t DifferingPixels(const PictureContext& pic, const test::RgbPicture& reference) {
    if (reference.Width != pic.IlbmInfo.Width || reference.Height != pic.IlbmInfo.Height) return -1;
    int64_t count = 0;
    for (int32_t y = 0; y < reference.Height; ++y)
        for (int32_t x = 0; x < reference.Width; ++x) count += pic.ColourAt(x, y + 1) != reference.At(x, y);
    return count;
}

TEST(Corpus, Ham6AgreesWithFfmpeg) {
    if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(DataFile("ham6_serenity.iff")), 1);
    ASSERT_EQ(pic.IlbmInfo.DisplayMode, 2);
    test::TempDir dir;
    EXPECT_EQ(DifferingPixels(pic, test::DecodeAllWithFfmpeg({{DataFile("ham6_serenity.iff"), 256, 256}},
                                                             dir.File("ffmpeg.log"))[0]), 0);
}

TEST(Corpus, ExtraHalfBriteAgreesWithFfmpeg) {
    if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(DataFile("ehb_hope.iff")), 1);
    ASSERT_EQ(pic.IlbmInfo.HalfBriteFlag, 1);
    test::TempDir dir;
    EXPECT_EQ(DifferingPixels(pic, test::DecodeAllWithFfmpeg({{DataFile("ehb_hope.iff"), 320, 200}},
                                                             dir.File("ffmpeg.log"))[0]), 0);
}

// ilbmtoppm starts every HAM8 row from black and the program from colour 0,
// so the test decodes a copy whose CMAP colour 0 is made black.
TEST(Corpus, Ham8AgreesWithIlbmtoppm) {
    if (!test::HaveTool("ilbmtoppm")) GTEST_SKIP() << "ilbmtoppm is not installed";
    std::vector<uint8_t> bytes = test::ReadBytes(DataFile("ham8_tng.iff"));
    ASSERT_GT(bytes.size(), 12u);
    size_t pos = 12;
    bool patched = false;
    while (pos + 8 <= bytes.size()) {
        const std::string id(bytes.begin() + std::ptrdiff_t(pos), bytes.begin() + std::ptrdiff_t(pos + 4));
        const size_t length = (size_t(bytes[pos + 4]) << 24) | (size_t(bytes[pos + 5]) << 16) |
                              (size_t(bytes[pos + 6]) << 8) | bytes[pos + 7];
        if (id == "CMAP" && length >= 3 && pos + 11 <= bytes.size()) {
            bytes[pos + 8] = bytes[pos + 9] = bytes[pos + 10] = 0;
            patched = true;
        }
        pos += 8 + length + (length & 1);
    }
    ASSERT_TRUE(patched);
    test::TempDir dir;
    const std::string copy = dir.File("tng.iff");
    test::WriteBytes(copy, bytes);
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(copy), 1);
    ASSERT_EQ(pic.IlbmInfo.DisplayMode, 3);
    ASSERT_EQ(pic.Palette[0], 0u);
    EXPECT_EQ(DifferingPixels(pic, test::DecodeWithIlbmtoppm(copy)), 0);
}

}  // namespace
}  // namespace planora
