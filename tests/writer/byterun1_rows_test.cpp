// ByteRun1 rows: every packed row unpacks, by the format's rule, to the plain
// row, stays within the plain row plus a control byte for every 128 bytes,
// and never uses the no-op control 128. Rows of many shapes are generated.
#include <random>

#include <gtest/gtest.h>

#include "output/byterun1_packer.h"

namespace planora::test {
namespace {

// The format's rule: n 0-127 copies n + 1 bytes, 129-255 repeats the next
// byte 257 - n times. Empty when the stream is malformed.
std::vector<uint8_t> Unpack(const std::vector<uint8_t>& packed, bool& usedNoOp) {
    std::vector<uint8_t> row;
    for (size_t at = 0; at < packed.size();) {
        const uint8_t n = packed[at++];
        if (n == 128) usedNoOp = true;
        else if (n < 128) {
            if (at + n + 1 > packed.size()) return {};
            row.insert(row.end(), packed.begin() + ptrdiff_t(at), packed.begin() + ptrdiff_t(at + n + 1));
            at += n + 1;
        } else {
            if (at >= packed.size()) return {};
            row.insert(row.end(), size_t(257 - n), packed[at++]);
        }
    }
    return row;
}

// A row of `length` bytes whose runs last 1 to maxRun bytes.
std::vector<uint8_t> RowOfRuns(std::mt19937& rng, size_t length, int maxRun) {
    std::vector<uint8_t> row;
    while (row.size() < length) row.insert(row.end(), std::min<size_t>(1 + rng() % maxRun, length - row.size()), uint8_t(rng() % 4));
    return row;
}

TEST(ByteRun1Rows, UnpackToThePlainRowWithinTheBound) {
    std::mt19937 rng(7);
    // Lengths around the 128-byte limits of both kinds of run.
    for (size_t length : {0, 1, 2, 3, 4, 127, 128, 129, 130, 255, 256, 257, 385, 1000})
        for (int maxRun : {1, 2, 3, 5, 40, 200, 1000})
            for (int sample = 0; sample < 4; ++sample) {
                const std::vector<uint8_t> row = RowOfRuns(rng, length, maxRun);
                std::vector<uint8_t> packed = {0xAA};  // packing appends
                PackByteRun1(row, packed);
                packed.erase(packed.begin());
                bool usedNoOp = false;
                EXPECT_EQ(Unpack(packed, usedNoOp), row) << length << " " << maxRun;
                EXPECT_FALSE(usedNoOp);
                EXPECT_LE(packed.size(), MaxByteRun1Size(length)) << length << " " << maxRun;
            }
}

TEST(ByteRun1Rows, RunsTakeTwoBytesUpTo128) {
    // Lengths of one repeated byte and the packed size the format allows:
    // a run holds 128 bytes at most, and each run costs two bytes.
    const std::pair<size_t, size_t> cases[] = {{3, 2}, {128, 2}, {129, 4}, {256, 4}, {300, 6}};
    for (const auto& [length, packedSize] : cases) {
        std::vector<uint8_t> packed;
        PackByteRun1(std::vector<uint8_t>(length, 9), packed);
        EXPECT_EQ(packed.size(), packedSize) << length;
    }
}

}  // namespace
}  // namespace planora::test
