// Transparency in the converter's PNG output: the mask plane (Masking 1), the
// transparent colour (Masking 2) and the alpha planes of a 32-plane deep
// picture become the PNG's alpha, read back here with Qt's PNG reader; other
// pictures have no alpha channel, and the BMP keeps its top byte 0.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "ilbm_builder.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

const std::vector<uint32_t> kCmap = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

QImage ConvertToPng(TempDir& dir, const IlbmBuilder& file) {
    const std::string input = dir.File("pic.iff"), output = dir.File("pic.png");
    file.WriteTo(input);
    const std::string command = std::string(PLANORA_CONVERT_PATH) + " --force --format png --output '" + output +
                                "' '" + input + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return QImage(QString::fromStdString(output));
}

TEST(PngAlpha, MaskPlaneBitsAreOpaqueOrTransparent) {
    // Mask byte 0xA0: bits 1, 0, 1 for the three pixels of every row.
    TempDir dir;
    const QImage png = ConvertToPng(dir, IlbmBuilder().Bmhd(3, 2, 2, 1, 1).Camg(0).Cmap(kCmap)
                                             .Body(IndexPicture(3, 2, {1, 2, 3, 3, 2, 1}), BodyOptions{2, Packing::ByteRun1, true, 0xA0}));
    ASSERT_FALSE(png.isNull());
    ASSERT_TRUE(png.hasAlphaChannel());
    EXPECT_EQ(png.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(qAlpha(png.pixel(1, 0)), 0);
    EXPECT_EQ(png.pixel(2, 0), 0xFF0000FFu);
    EXPECT_EQ(png.pixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(qAlpha(png.pixel(1, 1)), 0);
    EXPECT_EQ(png.pixel(2, 1), 0xFFFF0000u);
}

TEST(PngAlpha, TransparentColourIndexIsTransparent) {
    TempDir dir;
    BmhdFields bmhd;
    bmhd.Width = 3;
    bmhd.Height = 1;
    bmhd.Bitplanes = 2;
    bmhd.Masking = 2;
    bmhd.TransparentColour = 2;
    const QImage png =
        ConvertToPng(dir, IlbmBuilder().Bmhd(bmhd).Camg(0).Cmap(kCmap).Body(IndexPicture(3, 1, {1, 2, 3}), BodyOptions{2}));
    ASSERT_FALSE(png.isNull());
    ASSERT_TRUE(png.hasAlphaChannel());
    EXPECT_EQ(png.pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(qAlpha(png.pixel(1, 0)), 0);
    EXPECT_EQ(png.pixel(2, 0), 0xFF0000FFu);
}

TEST(PngAlpha, DeepPictureKeepsItsAlphaPlanes) {
    TempDir dir;
    const std::vector<uint32_t> argb = {0xFF112233, 0x80445566, 0x00778899};
    const QImage png = ConvertToPng(dir, IlbmBuilder().Bmhd(3, 1, 32).Body(EncodeDeepBody(3, 1, argb, 32, Packing::Raw)));
    ASSERT_FALSE(png.isNull());
    ASSERT_TRUE(png.hasAlphaChannel());
    EXPECT_EQ(png.pixel(0, 0), 0xFF112233u);
    EXPECT_EQ(png.pixel(1, 0), 0x80445566u);
    EXPECT_EQ(qAlpha(png.pixel(2, 0)), 0);
}

TEST(PngAlpha, PicturesWithoutTransparencyHaveNoAlphaChannel) {
    TempDir dir;
    const QImage png =
        ConvertToPng(dir, IlbmBuilder().Bmhd(3, 1, 2).Camg(0).Cmap(kCmap).Body(IndexPicture(3, 1, {1, 2, 3}), BodyOptions{2}));
    ASSERT_FALSE(png.isNull());
    EXPECT_FALSE(png.hasAlphaChannel());
    EXPECT_EQ(png.pixel(1, 0), 0xFF00FF00u);
}

TEST(PngAlpha, BmpOfAMaskedPictureKeepsTopByteZero) {
    TempDir dir;
    IlbmBuilder().Bmhd(2, 1, 2, 0, 1).Camg(0).Cmap(kCmap).Body(IndexPicture(2, 1, {1, 2}), BodyOptions{2, Packing::Raw, true, 0x40})
        .WriteTo(dir.File("pic.iff"));
    const std::string command = std::string(PLANORA_CONVERT_PATH) + " --force --output '" + dir.File("pic.bmp") + "' '" +
                                dir.File("pic.iff") + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const auto bmp = ReadBytes(dir.File("pic.bmp"));
    ASSERT_EQ(bmp.size(), 54u + 8u);
    EXPECT_EQ((std::vector<uint8_t>(bmp.begin() + 54, bmp.end())), (std::vector<uint8_t>{0, 0, 0xFF, 0, 0, 0xFF, 0, 0}));
}

}  // namespace
}  // namespace planora::test
