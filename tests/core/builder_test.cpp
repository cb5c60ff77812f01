// The test helper itself: its bytes are checked against hand-written files,
// so that the core tests built on it can be trusted.
#include <gtest/gtest.h>

#include "ilbm_builder.h"

namespace planora::test {
namespace {

TEST(IlbmBuilder, FramesChunksWithLengthsAndPadBytes) {
    IlbmBuilder b;
    b.Chunk("ANNO", {'a', 'b', 'c'}).Camg(0x804);
    const std::vector<uint8_t> expected = {
        'F', 'O', 'R', 'M', 0, 0, 0, 4 + 12 + 12, 'I', 'L', 'B', 'M',
        'A', 'N', 'N', 'O', 0, 0, 0, 3, 'a', 'b', 'c', 0,
        'C', 'A', 'M', 'G', 0, 0, 0, 4, 0, 0, 0x08, 0x04,
    };
    EXPECT_EQ(b.Bytes(), expected);
    b.FormLength(0x01020304).FormType("PBM ");
    const std::vector<uint8_t> bytes = b.Bytes();
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 4, bytes.begin() + 12),
              (std::vector<uint8_t>{1, 2, 3, 4, 'P', 'B', 'M', ' '}));
}

TEST(IlbmBuilder, BmhdCmapAndCtblLayouts) {
    BmhdFields f{.Width = 320, .Height = 256, .Xpos = -1, .Ypos = 2, .Bitplanes = 5, .Masking = 1,
                 .Packtype = 1, .Pad1 = 0, .TransparentColour = 3, .XAspectRatio = 10, .YAspectRatio = 11,
                 .PageWidth = 320, .PageHeight = 200};
    EXPECT_EQ(BmhdData(f), (std::vector<uint8_t>{0x01, 0x40, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x02, 5, 1, 1, 0,
                                                 0x00, 0x03, 10, 11, 0x01, 0x40, 0x00, 0xC8}));
    const std::vector<uint8_t> cmap = IlbmBuilder().Cmap({0x123456}).Bytes();
    EXPECT_EQ(std::vector<uint8_t>(cmap.begin() + 12, cmap.end()),
              (std::vector<uint8_t>{'C', 'M', 'A', 'P', 0, 0, 0, 3, 0x12, 0x34, 0x56, 0}));
    const std::vector<uint8_t> ctbl = IlbmBuilder().Ctbl({0x0FA5}).Bytes();
    EXPECT_EQ(std::vector<uint8_t>(ctbl.begin() + 20, ctbl.end()), (std::vector<uint8_t>{0x0F, 0xA5}));
}

TEST(IlbmBuilder, PlanarRowsPlaneZeroIsTheLowBit) {
    // Width 10: plane rows of 2 bytes, 6 padding bits at the end.
    IndexPicture p(10, 1, std::vector<uint8_t>{1, 2, 3, 0, 0, 0, 0, 0, 4, 7});
    EXPECT_EQ(PlaneRow(p, 0, 0), (std::vector<uint8_t>{0xA0, 0x40}));
    EXPECT_EQ(PlaneRow(p, 0, 1), (std::vector<uint8_t>{0x60, 0x40}));
    EXPECT_EQ(PlaneRow(p, 0, 2), (std::vector<uint8_t>{0x00, 0xC0}));
    EXPECT_EQ(EncodeBody(p, {.Planes = 2, .MaskPlane = true, .MaskByte = 0x5A}),
              (std::vector<uint8_t>{0xA0, 0x40, 0x60, 0x40, 0x5A, 0x5A}));
    EXPECT_EQ(PlaneRowBytes(16), 2);
    EXPECT_EQ(PlaneRowBytes(17), 4);
    EXPECT_EQ(PlaneRowBytes(100), 14);
}

TEST(IlbmBuilder, ByteRun1Packing) {
    EXPECT_EQ(PackByteRun1({1, 2, 3}), (std::vector<uint8_t>{2, 1, 2, 3}));
    EXPECT_EQ(PackByteRun1({9, 9, 9, 9}), (std::vector<uint8_t>{0xFD, 9}));
    EXPECT_EQ(PackByteRun1({1, 7, 7, 7, 2, 2}), (std::vector<uint8_t>{0, 1, 0xFE, 7, 1, 2, 2}));
    EXPECT_EQ(PackByteRun1(std::vector<uint8_t>(130, 0)), (std::vector<uint8_t>{0x81, 0, 1, 0, 0}));
    std::vector<uint8_t> literal(129);
    for (size_t i = 0; i < literal.size(); ++i) literal[i] = uint8_t(i);
    const std::vector<uint8_t> packed = PackByteRun1(literal);
    ASSERT_EQ(packed.size(), 1 + 128 + 1 + 1u);
    EXPECT_EQ(packed[0], 127);
    EXPECT_EQ(packed[129], 0);
    EXPECT_EQ(packed[130], 128);
}

}  // namespace
}  // namespace planora::test
