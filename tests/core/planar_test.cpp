// Planar-to-chunky conversion: the lookup tables, plane order, padding and
// the untouched row 0 and column Width.
#include <random>

#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "load_util.h"

namespace planora {
namespace {

using test::IlbmBuilder;
using test::IndexPicture;

TEST(PlanarToChunky, LookupTables) {
    PictureContext pic;
    pic.Iff_Create_P2C_Word_Table();
    EXPECT_EQ(pic.P2C_Word_Table0[0xC0], 257);
    EXPECT_EQ(pic.P2C_Word_Table1[0xC0] + pic.P2C_Word_Table2[0xC0] + pic.P2C_Word_Table3[0xC0], 0);
    EXPECT_EQ(pic.P2C_Word_Table3[0x01], 1);
    EXPECT_EQ(pic.P2C_Word_Table0[0x01] + pic.P2C_Word_Table1[0x01] + pic.P2C_Word_Table2[0x01], 0);
    EXPECT_EQ(pic.P2C_Word_Table1[0x20], 256);
    EXPECT_EQ(pic.P2C_Word_Table2[0x04], 1);
    EXPECT_EQ(pic.P2C_Word_Table2[0xFF], 257);
    EXPECT_EQ(pic.P2C_Word_Table0[256], 0);
}

TEST(PlanarToChunky, WorkedRows) {
    struct Case { const char* name; int planes; std::vector<uint8_t> body; std::vector<uint8_t> pixels; };
    const Case cases[] = {
        {"one plane 0xA5", 1, {0xA5, 0x00}, {1, 0, 1, 0, 0, 1, 0, 1}},
        {"plane 0 0xFF, plane 1 0x0F", 2, {0xFF, 0x00, 0x0F, 0x00}, {1, 1, 1, 1, 3, 3, 3, 3}},
        // Pixel k is set only in plane k: plane 0 is the lowest bit.
        {"one plane each", 8,
         {0x80, 0, 0x40, 0, 0x20, 0, 0x10, 0, 0x08, 0, 0x04, 0, 0x02, 0, 0x01, 0},
         {1, 2, 4, 8, 16, 32, 64, 128}},
        {"eight planes 0xFF", 8, std::vector<uint8_t>{0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0},
         {255, 255, 255, 255, 255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> colours(256);
        for (size_t i = 0; i < 256; ++i) colours[i] = MakeRGB24(uint8_t(i), 0x40, uint8_t(255 - i));
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(16, 1, c.planes).Cmap(colours).Camg(0).Body(c.body)), 1) << c.name;
        std::vector<uint8_t> expected = c.pixels;
        expected.resize(16, 0);
        EXPECT_EQ(test::ChunkyRow(pic, 1), expected) << c.name;
        for (size_t x = 0; x < 16; ++x) EXPECT_EQ(pic.ColourAt(int32_t(x), 1), colours[expected[x]]) << c.name << " " << x;
    }
}

TEST(PlanarToChunky, PaddingRowZeroAndColumnWidthStayZero) {
    // Width 100: 14-byte plane rows whose last 12 bits are padding, all set here.
    PictureContext pic;
    const std::vector<uint32_t> cmap = {0x102030, 0xFFFFFF};
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(100, 2, 1).Cmap(cmap).Camg(0).Body(std::vector<uint8_t>(28, 0xFF))), 1);
    EXPECT_EQ(pic.ImageStride(), 101);
    for (int32_t y = 1; y <= 2; ++y) {
        EXPECT_EQ(test::ChunkyRow(pic, y), std::vector<uint8_t>(100, 1));
        EXPECT_EQ(pic.ChunkyAt(100, y), 0);
        // The extra column holds index 0 and is mapped like the others.
        EXPECT_EQ(pic.ColourAt(100, y), 0x102030u);
    }
    for (int32_t x = 0; x <= 100; ++x) {
        EXPECT_EQ(pic.ChunkyAt(x, 0), 0);
        EXPECT_EQ(pic.ColourAt(x, 0), 0u);
    }
    EXPECT_EQ(pic.ChunkyImage.size(), size_t(101 * 3));
    EXPECT_EQ(pic.ColourImage.size(), size_t(101 * 3));
}

TEST(PlanarToChunky, RoundTripsEveryDepthWidthAndPacking) {
    std::mt19937 random(7);
    for (int planes = 1; planes <= 8; ++planes) {
        for (int32_t width : {1, 7, 15, 16, 17, 100}) {
            for (test::Packing packing : {test::Packing::Raw, test::Packing::ByteRun1}) {
                IndexPicture picture(width, 5);
                for (uint8_t& p : picture.Pixels) p = uint8_t(random() % (1u << planes));
                for (int32_t x = 0; x < width; x += 3) picture.At(x, 2) = 0;  // some runs for ByteRun1
                const uint8_t packtype = packing == test::Packing::ByteRun1 ? 1 : 0;
                PictureContext pic;
                ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(width, 5, planes, packtype).Camg(0)
                                              .Body(picture, {.Planes = planes, .Compression = packing})), 1);
                for (int32_t y = 0; y < 5; ++y) {
                    const std::vector<uint8_t> expected(picture.Pixels.begin() + y * width,
                                                        picture.Pixels.begin() + (y + 1) * width);
                    ASSERT_EQ(test::ChunkyRow(pic, y + 1), expected)
                        << planes << " planes, width " << width << ", packed " << int(packtype) << ", row " << y + 1;
                }
            }
        }
    }
}

}  // namespace
}  // namespace planora
