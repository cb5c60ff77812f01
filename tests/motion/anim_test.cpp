// FORM ANIM playback: every frame of the corpus animations and of
// animations made by the test encoder (operations 7 and 8) against ffmpeg
// and the encoder's source frames; broken animations with the frame they end
// at; a truncation and byte-flip sweep that must end cleanly.
#include <gtest/gtest.h>

#include <random>

#include "decode/anim_player.h"
#include "motion_support.h"
#include "temp_dir.h"

namespace planora {
namespace {

using test::DeltaKind;

// Blocks of colour moving over a pattern that differs in every column, so
// that skip, same and unique runs all occur.
test::AnimSource MovingBlocks(int32_t width, int32_t height, int planes, int frames, uint32_t seed) {
    std::mt19937 random(seed);
    test::AnimSource source;
    source.Planes = planes;
    for (int i = 0; i < (1 << planes); ++i) source.Colours.push_back(uint32_t(random()) & 0xFFFFFF);
    test::IndexPicture picture(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) picture.At(x, y) = uint8_t((x / 3 + y / 5) % (1 << planes));
    source.Frames.push_back(picture);
    for (int f = 1; f < frames; ++f) {
        for (int block = 0; block < 3; ++block) {
            const int32_t x0 = int32_t(random() % uint32_t(width)), y0 = int32_t(random() % uint32_t(height));
            const int32_t w = 1 + int32_t(random() % 40), h = 1 + int32_t(random() % 20);
            const uint8_t colour = uint8_t(random() % (1u << planes));
            for (int32_t y = y0; y < std::min(height, y0 + h); ++y)
                for (int32_t x = x0; x < std::min(width, x0 + w); ++x) picture.At(x, y) = colour;
        }
        source.Frames.push_back(picture);
    }
    return source;
}

// color_balls: 4 planes, op 5, its last two frames repeat the first two;
// angel: HAM6, op 5, a CMAP in every frame. ffmpeg reads the last long column
// of plane rows that are not a whole number of longs otherwise, so those
// rows are checked against the source frames only.
TEST(Anim, EveryFrameAgreesWithFfmpegAndTheSource) {
    const struct { const char* name; DeltaKind kind; int32_t width, height; int planes; } encoded[] = {
        {"op7 short", DeltaKind::SplitShort, 80, 40, 4},    {"op7 short odd", DeltaKind::SplitShort, 33, 17, 3},
        {"op7 long", DeltaKind::SplitLong, 64, 50, 8},      {"op8 short", DeltaKind::ListShort, 80, 40, 4},
        {"op8 short odd", DeltaKind::ListShort, 17, 64, 2}, {"op8 long", DeltaKind::ListLong, 128, 24, 6},
        {"op8 long part", DeltaKind::ListLong, 80, 16, 3},
    };
    struct Row { std::string name, path; size_t inFile, shown; bool loop, ffmpeg; test::AnimSource source; };
    std::vector<Row> rows{{"color_balls", test::DataFile("color_balls.anim"), 14, 12, true, true, {}},
                          {"angel", test::DataFile("angel_ham6.anim"), 26, 26, false, true, {}}};
    test::TempDir dir;
    uint32_t seed = 1;
    for (const auto& e : encoded) {
        const bool longData = e.kind == DeltaKind::SplitLong || e.kind == DeltaKind::ListLong;
        rows.push_back({e.name, dir.File(std::to_string(seed) + ".anim"), 9, 9, false,
                        !longData || test::PlaneRowBytes(e.width) % 4 == 0,
                        MovingBlocks(e.width, e.height, e.planes, 9, seed++)});
        test::WriteBytes(rows.back().path, test::EncodeAnim(rows.back().source, e.kind));
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(row.path), 1);
        AnimPlayer player(pic);
        EXPECT_EQ(player.Problem(), "");
        EXPECT_EQ(player.FrameCount(), row.shown);
        EXPECT_EQ(player.HasLoopFrames(), row.loop);
        const int32_t width = pic.IlbmInfo.Width, height = pic.IlbmInfo.Height;
        const auto reference = test::HaveTool("ffmpeg") && row.ffmpeg ? test::FfmpegFrames(row.path, width, height)
                                                                      : std::vector<test::RgbPicture>();
        if (!reference.empty()) {
            ASSERT_EQ(reference.size(), row.inFile);
        }
        // Playing on through the loop frames, which the player decodes when it wraps.
        for (size_t f = 0; f < row.inFile; ++f, player.Next()) {
            int64_t differing = 0;
            for (int32_t y = 0; y < height; ++y)
                for (int32_t x = 0; x < width; ++x) {
                    if (!reference.empty()) differing += pic.ColourAt(x, y + 1) != reference[f].At(x, y);
                    if (!row.source.Frames.empty())
                        differing += pic.ChunkyAt(x, y + 1) != row.source.Frames[f].At(x, y);
                }
            EXPECT_EQ(differing, 0) << "frame " << f;
        }
    }
}

// Broken animations end at the last frame that decodes, with a message, and
// play on within the frames that decode.
TEST(Anim, BrokenAnimationsEndAtTheLastGoodFrame) {
    const test::AnimSource source = MovingBlocks(32, 16, 2, 4, 7);
    const std::vector<uint8_t> good = test::EncodeAnim(source, DeltaKind::ListShort);
    const std::vector<uint8_t> first =
        test::IlbmBuilder().Bmhd(32, 16, 2).Cmap(source.Colours).Body(source.Frames[0], {2}).Bytes();
    const std::vector<uint8_t> second =
        test::IlbmBuilder().Chunk("ANHD", test::AnhdData(5, 0, 1, 0)).Chunk("DLTA", std::vector<uint8_t>(64)).Bytes();
    auto anim = [&](uint8_t op, uint8_t interleave, std::vector<uint8_t> dlta, bool another = false) {
        test::IlbmBuilder frame;
        if (another) frame.Bmhd(16, 16, 2).Body(test::IndexPicture(16, 16), {2});
        frame.Chunk("ANHD", test::AnhdData(op, interleave, 1, 0));
        if (!dlta.empty()) frame.Chunk("DLTA", dlta);
        return test::AnimFile({first, second, frame.Bytes()});
    };
    std::vector<uint8_t> none(64, 0), outside(64, 0), pastEnd(64, 0);
    outside[3] = 200;  // plane 0's list at 200, in a 64-byte chunk
    pastEnd[3] = 64;
    pastEnd.insert(pastEnd.end(), {0x03, 0x85, 1, 2});  // a unique run of 5 with 2 values left
    const std::string end = "; the animation ends at frame 2";
    const struct { const char* name; std::vector<uint8_t> file; size_t frames; std::string problem; } rows[] = {
        {"whole", good, 4, ""},
        {"op 3", anim(3, 0, none), 2, "frame 3 uses delta operation 3, which is not decoded" + end},
        {"interleave 3", anim(5, 3, none), 2, "frame 3 changes the frame 3 back, not 1 or 2" + end},
        {"offset outside", anim(5, 0, outside), 2, "frame 3 has a DLTA that points outside itself" + end},
        {"run past the end", anim(5, 0, pastEnd), 2, "frame 3 has a DLTA that points outside itself" + end},
        {"no DLTA", anim(5, 0, {}), 2, "frame 3 has no picture data" + end},
        {"another size", anim(0, 0, {}, true), 2, "frame 3 has another size than the first" + end},
        {"truncated", std::vector<uint8_t>(good.begin(), good.end() - 10), 3, "the file ends inside frame 4"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory("broken.anim", row.file), 1);
        AnimPlayer player(pic);
        EXPECT_EQ(player.FrameCount(), row.frames);
        EXPECT_EQ(player.Problem(), row.problem);
        for (size_t i = 0; i < 2 * row.frames + 1; ++i) player.Next();
        EXPECT_EQ(player.Current(), (2 * row.frames + 1) % row.frames);
    }
}

// Every third prefix of two small animations, plain and with a byte flipped:
// load and playback end cleanly (the sanitizer build checks the accesses).
TEST(Anim, TruncationAndByteFlipSweepEndsCleanly) {
    for (DeltaKind kind : {DeltaKind::SplitLong, DeltaKind::ListShort}) {
        const std::vector<uint8_t> file = test::EncodeAnim(MovingBlocks(48, 12, 3, 5, 11), kind);
        for (size_t cut = 1; cut <= file.size(); cut += 3)
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
