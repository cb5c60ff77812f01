// The raw 8-bit chunky, raw 32-bit RGB and palette text exports.
#include <filesystem>

#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "load_util.h"
#include "output/exports.h"
#include "temp_dir.h"

namespace planora {
namespace {

using test::IlbmBuilder;
using test::IndexPicture;

TEST(Exports, OnePixelPicture) {
    // Pixel index 2, colour 0 = 0x0A0B0C, colour 2 = 0x112233.
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 2).Cmap({0x0A0B0C, 0, 0x112233, 0}).Camg(0)
                                  .Body(IndexPicture(1, 1, 2), {.Planes = 2})), 1);
    EXPECT_EQ(BuildRawChunkyFile(pic), (std::vector<uint8_t>{0, 0, 2, 0}));
    EXPECT_EQ(BuildRawRgbFile(pic), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0,
                                                          0x33, 0x22, 0x11, 0, 0x0C, 0x0B, 0x0A, 0}));
}

TEST(Exports, SizesOf320By256) {
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(320, 256, 1)), 1);
    EXPECT_EQ(BuildRawChunkyFile(pic).size(), 82497u);
    EXPECT_EQ(BuildRawRgbFile(pic).size(), 329988u);
}

TEST(Exports, RawFilesAreRowsFromRowZero) {
    // 2 x 2: each raw row has 3 elements, row 0 zero.
    PictureContext pic;
    IndexPicture p(2, 2, std::vector<uint8_t>{1, 0, 0, 1});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(2, 2, 1).Cmap({0x0000FE, 0xFF0000}).Camg(0).Body(p, {.Planes = 1})), 1);
    EXPECT_EQ(BuildRawChunkyFile(pic), (std::vector<uint8_t>{0, 0, 0, 1, 0, 0, 0, 1, 0}));
    const std::vector<uint8_t> rgb = BuildRawRgbFile(pic);
    ASSERT_EQ(rgb.size(), 36u);
    const std::vector<uint8_t> red = {0, 0, 0xFF, 0}, blue = {0xFE, 0, 0, 0}, zero = {0, 0, 0, 0};
    std::vector<uint8_t> expected;
    for (const auto* e : {&zero, &zero, &zero, &red, &blue, &blue, &blue, &red, &blue})
        expected.insert(expected.end(), e->begin(), e->end());
    EXPECT_EQ(rgb, expected);
}

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

TEST(Exports, PaletteTextLines) {
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 2).Cmap({0x000000, 0xFFFFFF, 0xFF0000, 0x0000FF})), 1);
    EXPECT_EQ(Text(BuildPaletteTextFile(pic)), "$000000\r\n$ffffff\r\n$ff0000\r\n$0000ff\r\n");
}

TEST(Exports, PaletteLineCountFollowsThePlanes) {
    struct Case { int planes; size_t lines; };
    for (const Case& c : {Case{1, 2}, Case{2, 4}, Case{5, 32}, Case{6, 64}, Case{8, 256}}) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, c.planes).Cmap({0xABCDEF})), 1);
        const std::vector<uint8_t> text = BuildPaletteTextFile(pic);
        EXPECT_EQ(text.size(), 9 * c.lines) << c.planes;
        EXPECT_EQ(Text(text).substr(0, 9), "$abcdef\r\n");
    }
}

TEST(Exports, PaletteOfHamAndHalfBritePictures) {
    // HAM6 with a 16-colour CMAP still gives 64 lines; those the CMAP did not
    // set keep what an earlier load put there.
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 6).Cmap(std::vector<uint32_t>(64, 0x0F0F0F))), 1);
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 6).Camg(0x800).Cmap(std::vector<uint32_t>(16, 0x222222))), 1);
    std::string text = Text(BuildPaletteTextFile(pic));
    ASSERT_EQ(text.size(), 64u * 9);
    EXPECT_EQ(text.substr(15 * 9, 9), "$222222\r\n");
    EXPECT_EQ(text.substr(16 * 9, 9), "$0f0f0f\r\n");

    // Extra-Half-Brite: the upper 32 lines are the halved colours.
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 6).Camg(0x80).Cmap(std::vector<uint32_t>(32, 0xFF8001))), 1);
    text = Text(BuildPaletteTextFile(pic));
    EXPECT_EQ(text.substr(31 * 9, 9), "$ff8001\r\n");
    EXPECT_EQ(text.substr(32 * 9, 9), "$7f4000\r\n");
    EXPECT_EQ(text.substr(63 * 9, 9), "$7f4000\r\n");
}

TEST(Exports, WritingReplacesLongerFiles) {
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 1).Cmap({0, 0xFF0000}).Camg(0).Body({0x80, 0})), 1);
    test::TempDir dir;
    struct Case { const char* name; void (*write)(const PictureContext&, const std::string&); std::vector<uint8_t> bytes; };
    const Case cases[] = {
        {"x.rgb", ExportRawRgb, BuildRawRgbFile(pic)},
        {"x.lut", ExportRawChunky, BuildRawChunkyFile(pic)},
        {"x.txt", ExportPaletteText, BuildPaletteTextFile(pic)},
    };
    for (const Case& c : cases) {
        const std::string path = dir.File(c.name);
        test::WriteBytes(path, std::vector<uint8_t>(1000, 'x'));
        c.write(pic, path);
        EXPECT_EQ(test::ReadBytes(path), c.bytes) << c.name;
        EXPECT_THROW(c.write(pic, dir.File("missing/") + c.name), RunTimeError) << c.name;
    }
    EXPECT_EQ(test::ReadBytes(dir.File("x.lut")), (std::vector<uint8_t>{0, 0, 1, 0}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);
}

}  // namespace
}  // namespace planora
