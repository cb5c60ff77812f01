// FORM ANIM playback: every frame of the corpus animations and of animations
// with operations 7 and 8 (tests/data/anim) against ffmpeg and the frames
// they were made from; broken animations with the frame they end at; a
// truncation and byte-flip sweep that must end cleanly.
#include <gtest/gtest.h>

#include "decode/anim_player.h"
#include "motion_support.h"

namespace planora {
namespace {

// color_balls: 4 planes, op 5, its last two frames repeat the first two;
// angel: HAM6, op 5, a CMAP in every frame; cmap_change: the pixels of
// frame 1 in new colours from frame 2 on; the op files: 9 frames each; the
// anim/ files' palette indices are in the .idx beside them. ffmpeg reads the last long
// column of plane rows that are not a whole number of longs otherwise, so
// op8_long_part is checked against its indices only.
TEST(Anim, EveryFrameAgreesWithFfmpegAndTheSource) {
    const struct { std::string name; size_t inFile = 9, shown = 9; bool ffmpeg = true; } rows[] = {
        {"color_balls", 14, 12}, {"angel_ham6", 26, 26}, {"anim/op7_short"}, {"anim/op7_short_odd"},
        {"anim/op7_long"}, {"anim/op8_short"}, {"anim/op8_short_odd"}, {"anim/op8_long"},
        {"anim/op8_long_part", 9, 9, false}, {"anim/cmap_change", 3, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string path = test::DataFile(row.name + ".anim");
        const auto source = test::ReadBytes(test::DataFile(row.name + ".idx"));
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(path), 1);
        AnimPlayer player(pic);
        EXPECT_EQ(player.Problem(), "");
        EXPECT_EQ(player.FrameCount(), row.shown);
        const int32_t width = pic.IlbmInfo.Width, height = pic.IlbmInfo.Height;
        if (row.name.starts_with("anim/")) {
            ASSERT_EQ(source.size(), row.inFile * size_t(width * height));
        }
        std::vector<test::RgbPicture> reference;
        if (row.ffmpeg && test::HaveTool("ffmpeg")) {
            reference = test::FfmpegFrames(path, width, height);
            ASSERT_EQ(reference.size(), row.inFile);
        }
        // Playing on through the loop frames and into the second round.
        for (size_t step = 0, f = 0; step < row.inFile + 3; f = ++step % row.shown, player.Next()) {
            int64_t differing = 0;
            for (int32_t y = 0; y < height; ++y)
                for (int32_t x = 0; x < width; ++x) {
                    if (!reference.empty()) differing += pic.ColourAt(x, y + 1) != reference[f].At(x, y);
                    if (!source.empty()) differing += pic.ChunkyAt(x, y + 1) != source[(f * height + y) * width + x];
                }
            EXPECT_EQ(differing, 0) << "step " << step;
        }
    }
}

// Each broken_* file holds a whole first frame, an op 5 frame that changes
// nothing and a third frame broken as named; broken_cut is op8_short_odd
// without its last 10 bytes. The animation ends at the last frame that
// decodes, with a message, and plays on within the frames that decode.
TEST(Anim, BrokenAnimationsEndAtTheLastGoodFrame) {
    const std::string end = "; the animation ends at frame 2";
    const struct { const char* name; std::string problem; size_t frames = 2; } rows[] = {
        {"op3", "frame 3 uses delta operation 3, which is not decoded" + end},
        {"interleave3", "frame 3 changes the frame 3 back, not 1 or 2" + end},
        {"list_outside", "frame 3 has a DLTA that points outside itself" + end},
        {"run_past_end", "frame 3 has a DLTA that points outside itself" + end},
        {"no_dlta", "frame 3 has no picture data" + end},
        {"another_size", "frame 3 has another size than the first" + end},
        {"another_depth", "frame 3 has another size than the first" + end},
        {"cut", "the file ends inside frame 9", 8},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(test::DataFile("anim/broken_" + std::string(row.name) + ".anim")), 1);
        AnimPlayer player(pic);
        EXPECT_EQ(player.FrameCount(), row.frames);
        EXPECT_EQ(player.Problem(), row.problem);
        for (size_t i = 0; i < 2 * row.frames + 1; ++i) player.Next();
        EXPECT_EQ(player.Current(), 1u);
    }
}

// Prefixes of the op 7 and op 8 animations, plain and with a byte flipped:
// load and playback end cleanly (the sanitizer build checks the accesses).
TEST(Anim, TruncationAndByteFlipSweepEndsCleanly) {
    for (const char* name : {"op7_short_odd", "op7_long", "op8_short_odd", "op8_long_part", "broken_run_past_end"}) {
        const std::vector<uint8_t> file = test::ReadBytes(test::DataFile("anim/" + std::string(name) + ".anim"));
        ASSERT_FALSE(file.empty());
        for (size_t cut = 1; cut <= file.size(); cut += 1 + file.size() / 600)
            for (int flip = -1; flip < 2; ++flip) {
                std::vector<uint8_t> bytes(file.begin(), file.begin() + std::ptrdiff_t(cut));
                if (flip >= 0) bytes[(cut * 7 + size_t(flip)) % cut] ^= uint8_t(0x80 >> flip);
                PictureContext pic;
                pic.ImageByteBudget = 1 << 20;
                try {
                    if (pic.Load_IFF_From_Memory("sweep.anim", bytes) != 1) continue;
                } catch (const std::exception&) {
                    continue;
                }
                AnimPlayer player(pic);
                for (size_t i = 0; i <= player.FrameCount(); ++i) player.Next();
                EXPECT_EQ(player.Current(), 1 % player.FrameCount());
            }
    }
}

}  // namespace
}  // namespace planora
