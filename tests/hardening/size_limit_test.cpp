// The picture size budget: the two arrays take 5 bytes per element,
// (Width + 1) x (Height + 1) elements, and a picture over the budget fails
// with "Out of memory" before anything is allocated.
#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"

namespace planora::test {
namespace {

std::vector<uint8_t> Picture(int32_t width, int32_t height) {
    return IlbmBuilder().Bmhd(width, height, 1).Cmap({0x112233, 0x445566}).Body({0x80, 0, 0x80, 0}).Bytes();
}

int FailureOf(PictureContext& pic, const std::vector<uint8_t>& file) {
    try {
        pic.Load_IFF_From_Memory("big.iff", file);
    } catch (const RunTimeError& e) {
        return e.Number();
    }
    return 0;
}

TEST(SizeLimit, DefaultBudgetIsOneGibibyte) {
    EXPECT_EQ(PictureContext().ImageByteBudget, int64_t{1} << 30);
}

// 8 x 2 needs 9 x 3 x 5 = 135 bytes.
TEST(SizeLimit, PictureExactlyAtTheBudgetLoads) {
    PictureContext pic;
    pic.ImageByteBudget = 135;
    ASSERT_EQ(pic.Load_IFF_From_Memory("fits.iff", Picture(8, 2)), 1);
    EXPECT_EQ(pic.ColourAt(0, 2), 0x445566u);
}

TEST(SizeLimit, OneByteOverTheBudgetFailsWithOutOfMemory) {
    PictureContext pic;
    pic.ImageByteBudget = 134;
    EXPECT_EQ(FailureOf(pic, Picture(8, 2)), kOutOfMemory);
    EXPECT_EQ(pic.PictureLoaded, 0);
}

// 14653 x 14653: 14654^2 x 5 = 1,073,698,580 bytes, just inside 1 GiB;
// 14654 x 14654 is 14655^2 x 5 = 1,073,845,125, just over. Only the
// refusal is run here: the allowed size would allocate a gigabyte.
TEST(SizeLimit, LargestSquareOverTheDefaultBudgetIsRefused) {
    PictureContext pic;
    EXPECT_EQ(FailureOf(pic, Picture(14654, 14654)), kOutOfMemory);
    EXPECT_EQ(FailureOf(pic, Picture(32767, 32767)), kOutOfMemory);
}

// A refused picture leaves the previous picture's arrays as they were.
TEST(SizeLimit, RefusalKeepsThePreviousArrays) {
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("small.iff", Picture(8, 2)), 1);
    EXPECT_EQ(FailureOf(pic, Picture(32767, 32767)), kOutOfMemory);
    EXPECT_EQ(pic.ImageStride(), 9);
    EXPECT_EQ(pic.ColourAt(0, 1), 0x445566u);
}

}  // namespace
}  // namespace planora::test
