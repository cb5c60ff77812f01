// The 32-bit BMP file: header fields, bottom-up rows, no padding, and the
// safe replacement of an existing file.
#include <filesystem>

#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "load_util.h"
#include "output/bmp_writer.h"
#include "temp_dir.h"

namespace planora {
namespace {

using test::IlbmBuilder;
using test::IndexPicture;

// Loads a one-plane-per-colour picture whose rows are the given palette
// indices of cmap.
void LoadPicture(PictureContext& pic, const std::vector<std::vector<uint8_t>>& rows, const std::vector<uint32_t>& cmap) {
    IndexPicture p(int32_t(rows[0].size()), int32_t(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[0].size(); ++x) p.At(int32_t(x), int32_t(y)) = rows[y][x];
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(p.Width, p.Height, 2).Cmap(cmap).Camg(0).Body(p, {.Planes = 2})), 1);
}

TEST(Bmp, WorkedExampleRedThenBlue) {
    PictureContext pic;
    LoadPicture(pic, {{0, 1}}, {test::kRed, test::kBlue});
    const std::vector<uint8_t> expected = {
        0x42, 0x4D, 0x3E, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00,
        0x28, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00,
        0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00,
    };
    EXPECT_EQ(BuildBitmapFile(pic, 2, 1), expected);
}

TEST(Bmp, OnePixelIs58Bytes) {
    PictureContext pic;
    LoadPicture(pic, {{1}}, {0, 0x123456});
    const std::vector<uint8_t> file = BuildBitmapFile(pic, 1, 1);
    ASSERT_EQ(file.size(), 58u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 2, file.begin() + 6), (std::vector<uint8_t>{58, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 34, file.begin() + 38), (std::vector<uint8_t>{4, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()), (std::vector<uint8_t>{0x56, 0x34, 0x12, 0x00}));
}

TEST(Bmp, RowsBottomUpWithoutPadding) {
    // 3 x 2: rows of 12 bytes; the file's first row is the picture's bottom line.
    PictureContext pic;
    LoadPicture(pic, {{0, 1, 2}, {3, 2, 1}}, {0x010203, 0x040506, 0x070809, 0x0A0B0C});
    const std::vector<uint8_t> file = BuildBitmapFile(pic, 3, 2);
    ASSERT_EQ(file.size(), 54u + 24u);
    const std::vector<uint8_t> pixels(file.begin() + 54, file.end());
    EXPECT_EQ(pixels, (std::vector<uint8_t>{0x0C, 0x0B, 0x0A, 0, 0x09, 0x08, 0x07, 0, 0x06, 0x05, 0x04, 0,
                                            0x03, 0x02, 0x01, 0, 0x06, 0x05, 0x04, 0, 0x09, 0x08, 0x07, 0}));
    // Width and height, little-endian and positive.
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 18, file.begin() + 26), (std::vector<uint8_t>{3, 0, 0, 0, 2, 0, 0, 0}));
}

TEST(Bmp, NoPixelsNoFile) {
    PictureContext pic;
    LoadPicture(pic, {{1}}, {0, 0x123456});
    EXPECT_TRUE(BuildBitmapFile(pic, 0, 1).empty());
    EXPECT_TRUE(BuildBitmapFile(pic, 1, 0).empty());
    EXPECT_TRUE(BuildBitmapFile(pic, -3, 1).empty());
    test::TempDir dir;
    SaveArrayAsBitMap(pic, dir.File("none.bmp"), 0, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.bmp")));
}

TEST(Bmp, SizeBeyond32BitsOverflows) {
    PictureContext pic;
    LoadPicture(pic, {{1}}, {0, 0x123456});
    // 54 + 4 x 32767 x 16385 is above 2^31 - 1: refused before any pixel is read.
    try {
        BuildBitmapFile(pic, 32767, 16385);
        ADD_FAILURE() << "no failure";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.Number(), 6);
    }
}

TEST(Bmp, SaveReplacesALongerFile) {
    PictureContext pic;
    LoadPicture(pic, {{0, 1}}, {test::kRed, test::kBlue});
    test::TempDir dir;
    const std::string path = dir.File("out.bmp");
    test::WriteBytes(path, std::vector<uint8_t>(5000, 0xEE));
    SaveArrayAsBitMap(pic, path, 2, 1);
    EXPECT_EQ(test::ReadBytes(path), BuildBitmapFile(pic, 2, 1));
    EXPECT_EQ(std::filesystem::file_size(path), 62u);
    // Nothing but the target is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

// A picture taller than one batch of row writes: the saved file is the same
// file BuildBitmapFile assembles, bottom line first.
TEST(Bmp, TallPictureIsSavedWhole) {
    std::vector<std::vector<uint8_t>> rows(2500, std::vector<uint8_t>{0, 1, 2});
    rows.back() = {3, 3, 3};
    PictureContext pic;
    LoadPicture(pic, rows, {test::kRed, test::kGreen, test::kBlue, 0x010203});
    test::TempDir dir;
    const std::string path = dir.File("tall.bmp");
    SaveArrayAsBitMap(pic, path, 3, 2500);
    const std::vector<uint8_t> file = test::ReadBytes(path);
    ASSERT_EQ(file.size(), 54u + 4 * 3 * 2500);
    EXPECT_EQ(file, BuildBitmapFile(pic, 3, 2500));
    // The bottom line (colour 0x010203) comes first, the top line (red,
    // green, blue) last.
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.begin() + 58), (std::vector<uint8_t>{3, 2, 1, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.end() - 12, file.end()),
              (std::vector<uint8_t>{0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0}));
}

TEST(Bmp, FailedSaveThrowsAndLeavesNoTemporaryFile) {
    PictureContext pic;
    LoadPicture(pic, {{0, 1}}, {test::kRed, test::kBlue});
    test::TempDir dir;
    // The "folder" of the target is a regular file, so nothing can be created in it.
    const std::string notAFolder = dir.File("plain");
    test::WriteBytes(notAFolder, {1, 2, 3});
    EXPECT_THROW(SaveArrayAsBitMap(pic, notAFolder + "/out.bmp", 2, 1), RunTimeError);
    EXPECT_EQ(test::ReadBytes(notAFolder), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    // A missing folder fails too.
    EXPECT_THROW(SaveArrayAsBitMap(pic, dir.File("missing/out.bmp"), 2, 1), RunTimeError);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

}  // namespace
}  // namespace planora
