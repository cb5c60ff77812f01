// The frame source: one period of cycling in frames whose rounded delays add
// up to the rounded period, and animation frames asked for in any order equal
// to the frames played in order (wrapping through the loop frames included).
#include <gtest/gtest.h>

#include "decode/frame_source.h"
#include "motion_support.h"

namespace planora {
namespace {

std::vector<uint32_t> Pixels(const PictureView& view) {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < view.Height; ++y) pixels.insert(pixels.end(), view.Row(y), view.Row(y) + view.Width);
    return pixels;
}

// A CRNG of `rate` (16384 = 60 steps a second) over registers low..high.
test::Buf Crng(int rate, uint8_t low, uint8_t high) { return {0, 0, uint8_t(rate >> 8), uint8_t(rate), 0, 1, low, high}; }

// A range of n registers at rate r steps every u = 16384 / (60 r) s and is
// back after n u; two ranges repeat after the least common multiple. Each
// delay is rounded between rounded moments, so the delays add up to the
// period rounded to the millisecond, never to the sum of rounded steps.
TEST(FrameSource, CyclingDelaysAddUpToTheRoundedPeriod) {
    const struct { std::vector<test::Buf> ranges; size_t frames; int64_t periodMs; } rows[] = {
        {{Crng(16384, 0, 3)}, 4, 67},                     // 4 x 16.667 ms
        {{Crng(8192, 0, 2)}, 3, 100},                     // 3 x 33.333 ms
        {{Crng(5120, 0, 7)}, 8, 427},                     // 8 x 53.333 ms
        {{Crng(16384, 0, 1), Crng(8192, 4, 6)}, 6, 100},  // 2u and 3 x 2u: 6u
        {{Crng(12000, 0, 6)}, 7, 159},                    // 7 x 22.756 ms
        {{Crng(16384, 0, 250), Crng(16384, 251, 253)}, 600, 10000},  // back after 753u: cut at 600 frames, 600u
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.periodMs);
        test::IlbmBuilder file;
        file.Bmhd(8, 1, 3).Cmap({0x000000, 0x202020, 0x404040, 0x606060, 0x808080, 0xA0A0A0, 0xC0C0C0, 0xE0E0E0});
        for (const test::Buf& range : row.ranges) file.Chunk("CRNG", range);
        file.Body({8, 1, {0, 1, 2, 3, 4, 5, 6, 7}}, {3});
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory("cycling.iff", file.Bytes()), 1);
        const std::vector<uint32_t> still = Pixels(ViewOf(pic));
        FrameSource frames(std::move(pic));
        ASSERT_EQ(frames.Kind(), FrameKind::Cycling);
        ASSERT_EQ(frames.Count(), row.frames);
        int64_t total = 0;
        for (size_t i = 0; i < frames.Count(); ++i) {
            EXPECT_EQ(frames.Delay(i).Denominator, 1000);
            EXPECT_GT(frames.Delay(i).Numerator, 0);
            total += frames.Delay(i).Numerator;
        }
        EXPECT_EQ(total, row.periodMs);
        EXPECT_EQ(Pixels(frames.Frame(0)), still);
        EXPECT_NE(Pixels(frames.Frame(1)), still);
    }
}

// A range moves colours only with two cells or more, one of them a register:
// a picture whose ranges cannot move is still, one frame, not a period.
TEST(FrameSource, RangesThatCannotMoveLeaveAStillPicture) {
    const struct { const char* id; test::Buf range; } rows[] = {
        {"CRNG", Crng(16384, 3, 3)},                                                 // one register
        {"DRNG", {0, 1, 0x40, 0, 0, 1, 0, 1, 0, 2}},                                 // one register cell
        {"DRNG", {0, 1, 0x40, 0, 0, 1, 2, 0, 0, 0xFF, 0, 0, 1, 0, 0xFF, 0}},         // two true colours
    };
    for (const auto& row : rows) {
        test::IlbmBuilder file;
        file.Bmhd(8, 1, 3).Cmap({0, 0x202020, 0x404040, 0x606060}).Chunk(row.id, row.range).Body({8, 1, {0, 1, 2, 3, 0, 1, 2, 3}}, {3});
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory("still.iff", file.Bytes()), 1);
        FrameSource frames(std::move(pic));
        EXPECT_EQ(frames.Kind(), FrameKind::Still) << row.id << " " << row.range.size();
        EXPECT_EQ(frames.Count(), 1u);
    }
}

// color_balls shows 12 frames and ends with two loop frames; ham6_cmaps has a
// CMAP in every frame. Frames are asked for out of order, back to the start
// and across the wrap from the last frame to the first.
TEST(FrameSource, AnimationFramesInAnyOrderAreThePlayedFrames) {
    const struct { const char* name; size_t frames; std::vector<size_t> order; } rows[] = {
        {"color_balls.anim", 12, {5, 2, 11, 0, 1, 11, 0, 1, 2, 7}},
        {"anim/ham6_cmaps.anim", 10, {9, 0, 5, 4, 9, 0, 1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(test::DataFile(row.name)), 1);
        FrameSource frames(std::move(pic));
        ASSERT_EQ(frames.Kind(), FrameKind::Animation);
        ASSERT_EQ(frames.Count(), row.frames);
        std::vector<std::vector<uint32_t>> played;
        for (size_t i = 0; i < frames.Count(); ++i) played.push_back(Pixels(frames.Frame(i)));
        EXPECT_NE(played[0], played[1]);
        for (size_t i : row.order) {
            EXPECT_EQ(Pixels(frames.Frame(i)), played[i]) << "frame " << i;
            EXPECT_EQ(frames.Current(), i);
        }
    }
}

}  // namespace
}  // namespace planora
