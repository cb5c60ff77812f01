// BODY decoding: raw rows, ByteRun1 runs of every control byte class, and
// where the cursor stops.
#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "load_util.h"

namespace planora {
namespace {

using test::IlbmBuilder;

// The pixels of a one-plane row: bit 7 of each byte first.
std::vector<uint8_t> Bits(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t> pixels;
    for (uint8_t b : bytes)
        for (int bit = 7; bit >= 0; --bit) pixels.push_back((b >> bit) & 1);
    return pixels;
}

// Second row of every ByteRun1 case: a 4-byte literal, so a first row that
// consumed too many or too few bytes shows up here.
const std::vector<uint8_t> kSecondRowStream = {0x03, 0xC3, 0x3C, 0x0F, 0xF0};
const std::vector<uint8_t> kSecondRow = {0xC3, 0x3C, 0x0F, 0xF0};

TEST(ByteRun1, EachControlByteClass) {
    std::vector<uint8_t> long127 = {0x7F, 0x11, 0x22, 0x33, 0x44};
    long127.resize(129, 0xEE);  // 124 literal bytes past the 4-byte row: dropped
    struct Case { const char* name; std::vector<uint8_t> stream; std::vector<uint8_t> row; };
    const Case cases[] = {
        {"literal of 4", {0x03, 0x12, 0x34, 0x56, 0x78}, {0x12, 0x34, 0x56, 0x78}},
        {"literals of 1 (control 0)", {0x00, 0x12, 0x00, 0x34, 0x00, 0x56, 0x00, 0x78}, {0x12, 0x34, 0x56, 0x78}},
        {"repeats of 2 (control 255)", {0xFF, 0x12, 0xFF, 0x34}, {0x12, 0x12, 0x34, 0x34}},
        {"repeat of 128 cut at the row end (control 129)", {0x81, 0x5A}, {0x5A, 0x5A, 0x5A, 0x5A}},
        {"repeat of 3 then literal", {0xFE, 0x77, 0x00, 0x99}, {0x77, 0x77, 0x77, 0x99}},
        {"128 is a no-op", {0x80, 0x03, 0x12, 0x34, 0x56, 0x78}, {0x12, 0x34, 0x56, 0x78}},
        {"no-ops between runs", {0x80, 0x80, 0xFE, 0x77, 0x80, 0x00, 0x99}, {0x77, 0x77, 0x77, 0x99}},
        {"literal of 128 cut at the row end (control 127)", long127, {0x11, 0x22, 0x33, 0x44}},
        {"literal overshooting by 2", {0x05, 1, 2, 3, 4, 5, 6}, {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> body = c.stream;
        body.insert(body.end(), kSecondRowStream.begin(), kSecondRowStream.end());
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(32, 2, 1, 1).Camg(0).Body(body)), 1) << c.name;
        EXPECT_EQ(test::ChunkyRow(pic, 1), Bits(c.row)) << c.name;
        EXPECT_EQ(test::ChunkyRow(pic, 2), Bits(kSecondRow)) << c.name;
    }
}

TEST(ByteRun1, RunsNeverCarryIntoTheNextPlaneRow) {
    // Two planes: plane 0 gets a run of 128 copies of 0xFF, cut at 4 bytes;
    // plane 1 starts with its own control byte.
    const std::vector<uint8_t> body = {0x81, 0xFF, 0x03, 0x00, 0x00, 0xFF, 0xFF};
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(32, 1, 2, 1).Camg(0).Body(body)), 1);
    std::vector<uint8_t> expected(32, 1);
    for (int x = 16; x < 32; ++x) expected[size_t(x)] = 3;
    EXPECT_EQ(test::ChunkyRow(pic, 1), expected);
}

// ByteRun1 one byte at a time, as the format describes it: a run that passes
// the row's end is cut there, its bytes still consumed; bytes past the end of
// the stream are zeros.
std::vector<uint8_t> PlainByteRun1Row(const std::vector<uint8_t>& stream, size_t& pos, int32_t rowBytes) {
    const auto at = [&](size_t p) -> uint8_t { return p < stream.size() ? stream[p] : 0; };
    std::vector<uint8_t> row(size_t(rowBytes), 0);
    int32_t x = 0;
    do {
        const uint8_t n = at(pos++);
        if (n < 128) {
            for (int i = 0; i <= n; ++i, ++x) {
                const uint8_t b = at(pos++);
                if (x < rowBytes) row[size_t(x)] = b;
            }
        } else if (n > 128) {
            const uint8_t value = at(pos++);
            for (int i = 0; i < 257 - n; ++i, ++x)
                if (x < rowBytes) row[size_t(x)] = value;
        }
    } while (x < rowBytes);
    return row;
}

TEST(ByteRun1, WideRowsMatchTheBytewiseRules) {
    // Runs of every length, mostly short, no-ops, runs cut at row ends; the
    // whole stream and the same stream cut short.
    constexpr int32_t kRowBytes = 200, kRows = 40;
    uint32_t seed = 12345;
    const auto next = [&seed](uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % range;
    };
    std::vector<uint8_t> stream;
    while (stream.size() < size_t(kRowBytes) * kRows * 3 / 4) {
        const uint32_t kind = next(10);
        const uint32_t length = kind < 7 ? 1 + next(20) : 1 + next(128);
        if (kind == 9 && next(4) == 0) {
            stream.push_back(0x80);
        } else if (kind % 2 == 0) {
            stream.push_back(uint8_t(length - 1));
            for (uint32_t i = 0; i < length; ++i) stream.push_back(uint8_t(next(256)));
        } else {
            stream.push_back(uint8_t(257 - std::max<uint32_t>(length, 2)));
            stream.push_back(uint8_t(next(256)));
        }
    }
    for (const size_t keep : {stream.size(), stream.size() / 2 + 1}) {
        const std::vector<uint8_t> body(stream.begin(), stream.begin() + std::ptrdiff_t(keep));
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(kRowBytes * 8, kRows, 1, 1).Camg(0).Body(body)), 1);
        size_t pos = 0;
        for (int32_t y = 1; y <= kRows; ++y)
            ASSERT_EQ(test::ChunkyRow(pic, y), Bits(PlainByteRun1Row(body, pos, kRowBytes))) << "row " << y << " of "
                                                                                            << keep << " bytes";
    }
}

TEST(ByteRun1, AnyNonZeroPacktypeMeansByteRun1) {
    for (uint8_t packtype : {1, 2, 255}) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(16, 1, 1, packtype).Camg(0).Body({0xFF, 0xA5})), 1);
        EXPECT_EQ(test::ChunkyRow(pic, 1), Bits({0xA5, 0xA5})) << int(packtype);
    }
}

TEST(RawBody, RowsFollowOneAnother) {
    // 16 x 2, two planes: row 1 plane 0, row 1 plane 1, row 2 plane 0, row 2 plane 1.
    const std::vector<uint8_t> body = {0xFF, 0x00, 0x0F, 0x00, 0x00, 0x01, 0x00, 0x03};
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(16, 2, 2).Camg(0).Body(body)), 1);
    EXPECT_EQ(test::ChunkyRow(pic, 1), (std::vector<uint8_t>{1, 1, 1, 1, 3, 3, 3, 3, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(test::ChunkyRow(pic, 2), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 3}));
}

// The BODY data of a file built as FORM, BMHD, CAMG, BODY starts at offset 60.
constexpr int64_t kBodyData = 12 + 28 + 12 + 8;

TEST(BodyCursor, RawBodyConsumesHeightTimesPlanesTimesRowBytes) {
    std::vector<uint8_t> body(51200 + 10, 0x3C);
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(320, 256, 5).Camg(0).Body(body)), 1);
    pic.CachePos = kBodyData;
    pic.IFF_Decode_Body();
    EXPECT_EQ(pic.RowBytes, 40);
    EXPECT_EQ(pic.CachePos, kBodyData + 51200);
    // 0x3C in every plane: pixels 2..5 of each byte are 31, the others 0.
    EXPECT_EQ(pic.ChunkyAt(2, 256), 31);
    EXPECT_EQ(pic.ChunkyAt(317, 256), 31);
    EXPECT_EQ(pic.ChunkyAt(0, 256), 0);
    EXPECT_EQ(pic.ChunkyAt(319, 256), 0);
}

TEST(BodyCursor, ByteRun1StopsAfterTheLastRun) {
    std::vector<uint8_t> body = {0x81, 0x5A};
    body.insert(body.end(), kSecondRowStream.begin(), kSecondRowStream.end());
    body.insert(body.end(), {0x55, 0x66});  // surplus: not read
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(32, 2, 1, 1).Camg(0).Body(body)), 1);
    pic.CachePos = kBodyData;
    pic.IFF_Decode_Body();
    EXPECT_EQ(pic.CachePos, kBodyData + 2 + 5);
}

TEST(BodyCursor, EveryPackedPlaneRowTakesAControlByteEvenWhenEmpty) {
    // Width 0: RowBytes 0, yet each of the 3 x 2 plane rows reads one control byte.
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(0, 3, 2, 1).Camg(0).Body(std::vector<uint8_t>(10, 0x80))), 1);
    pic.CachePos = kBodyData;
    pic.IFF_Decode_Body();
    EXPECT_EQ(pic.RowBytes, 0);
    EXPECT_EQ(pic.CachePos, kBodyData + 6);
}

TEST(RowBytes, WidthRoundedUpToWords) {
    for (auto [width, rowBytes] : {std::pair{320, 40}, {100, 14}, {8, 2}, {1, 2}, {16, 2}, {17, 4}}) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(width, 1, 1).Body(std::vector<uint8_t>(size_t(rowBytes), 0))), 1);
        EXPECT_EQ(pic.RowBytes, rowBytes) << width;
    }
}

}  // namespace
}  // namespace planora
