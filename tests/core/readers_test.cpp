// The file cache and the big-endian cursor readers.
#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "ilbm_builder.h"
#include "temp_dir.h"

namespace planora {
namespace {

// A context whose cache holds bytes as a file of those bytes would give:
// the bytes, then two zero bytes.
PictureContext WithCache(std::vector<uint8_t> bytes) {
    PictureContext pic;
    bytes.push_back(0);
    bytes.push_back(0);
    pic.FileCache.assign(bytes.begin(), bytes.end());
    pic.CachePos = 0;
    return pic;
}

TEST(Readers, WordIsSignedBigEndian) {
    struct Case { uint8_t b0, b1; int32_t expected; };
    const Case cases[] = {
        {0xFF, 0xFF, -1}, {0x80, 0x00, -32768}, {0x7F, 0xFF, 32767},
        {0x01, 0x40, 320}, {0x00, 0x00, 0}, {0x80, 0x01, -32767},
    };
    for (const Case& c : cases) {
        PictureContext pic = WithCache({c.b0, c.b1});
        EXPECT_EQ(pic.Iff_Read_Word(), c.expected) << int(c.b0) << " " << int(c.b1);
        EXPECT_EQ(pic.CachePos, 2);
    }
}

TEST(Readers, LongIsUnsignedBigEndian) {
    struct Case { std::vector<uint8_t> bytes; uint32_t expected; };
    const Case cases[] = {
        {{0xFF, 0xFF, 0xFF, 0xFF}, 4294967295u},
        {{0x00, 0x00, 0x00, 0x14}, 20u},
        {{0x80, 0x00, 0x00, 0x00}, 2147483648u},
        {{0x12, 0x34, 0x56, 0x78}, 0x12345678u},
    };
    for (const Case& c : cases) {
        PictureContext pic = WithCache(c.bytes);
        EXPECT_EQ(pic.Iff_Read_Long(), c.expected);
        EXPECT_EQ(pic.CachePos, 4);
    }
}

TEST(Readers, ByteAndStringAdvanceTheCursor) {
    PictureContext pic = WithCache({'F', 'O', 'R', 'M', 0xFE, 'A', 0x00, 'B', 'C'});
    EXPECT_EQ(pic.IFF_Get_String(), "FORM");
    EXPECT_EQ(pic.CachePos, 4);
    EXPECT_EQ(pic.Iff_Read_Byte(), 0xFE);
    EXPECT_EQ(pic.CachePos, 5);
    // A zero byte inside an identifier is still one of its four characters.
    const std::string id = pic.IFF_Get_String();
    EXPECT_EQ(id, std::string("A\0BC", 4));
    EXPECT_EQ(id.size(), 4u);
    EXPECT_EQ(pic.CachePos, 9);
}

TEST(Readers, CursorCountsEveryByteConsumed) {
    PictureContext pic = WithCache(std::vector<uint8_t>(32, 0x11));
    pic.Iff_Read_Byte();
    pic.Iff_Read_Word();
    pic.Iff_Read_Long();
    pic.IFF_Get_String();
    pic.Iff_Read_Word();
    EXPECT_EQ(pic.CachePos, 1 + 2 + 4 + 4 + 2);
}

TEST(Readers, ReadsAtOrPastTheEndGiveZero) {
    // Cache: 0xAB, then the two zero bytes; everything from index 1 on is 0.
    PictureContext pic = WithCache({0xAB});
    pic.CachePos = 1;
    EXPECT_EQ(pic.Iff_Read_Long(), 0u);  // indices 1..4, two of them past the cache
    EXPECT_EQ(pic.CachePos, 5);
    EXPECT_EQ(pic.Iff_Read_Word(), 0);
    EXPECT_EQ(pic.Iff_Read_Byte(), 0);
    EXPECT_EQ(pic.IFF_Get_String(), std::string(4, '\0'));
    pic.CachePos = 1'000'000;
    EXPECT_EQ(pic.Iff_Read_Long(), 0u);
    EXPECT_EQ(pic.CachePos, 1'000'004);
}

TEST(Readers, WordStraddlingTheEndTakesZeroForTheMissingByte) {
    PictureContext pic;
    pic.FileCache = {0x12, 0x34, 0x56};  // no padding at all: index 3 is outside
    pic.CachePos = 2;
    EXPECT_EQ(pic.Iff_Read_Word(), 0x5600);
}

TEST(FileCache, HoldsTheFileAndTwoZeroBytes) {
    test::TempDir dir;
    const std::string path = dir.File("five.bin");
    test::WriteBytes(path, {1, 2, 3, 4, 5});
    PictureContext pic;
    pic.CachePos = 7;
    pic.Load_TemplateFile_to_cache(path);
    EXPECT_EQ(std::vector<uint8_t>(pic.FileCache.begin(), pic.FileCache.end()),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 0, 0}));
    EXPECT_EQ(pic.CachePos, 7);  // filling the cache leaves the cursor alone

    const std::string empty = dir.File("empty.bin");
    test::WriteBytes(empty, {});
    pic.Load_TemplateFile_to_cache(empty);
    EXPECT_EQ(std::vector<uint8_t>(pic.FileCache.begin(), pic.FileCache.end()), (std::vector<uint8_t>{0, 0}));
}

}  // namespace
}  // namespace planora
