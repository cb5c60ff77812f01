// FORM ANIM playback: every frame against ffmpeg (the corpus animations and
// pictures made by the test encoder for operations 7 and 8), a table of
// broken animations with the frame they end at, and a truncation and
// byte-flip sweep that must end cleanly.
#include <gtest/gtest.h>

#include <random>

#include "anim_encoder.h"
#include "decode/anim_player.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora {
namespace {

std::string DataFile(const std::string& name) { return std::string(PLANORA_TEST_DATA) + "/" + name; }

// Every frame of the file as ffmpeg decodes it, in file order.
std::vector<test::RgbPicture> FfmpegFrames(const std::string& path, int32_t width, int32_t height) {
    test::TempDir dir;
    const std::string out = dir.File("frames.rgb");
    std::vector<test::RgbPicture> frames;
    if (!test::Run("ffmpeg -nostdin -v error -y -vsync passthrough -i '" + path + "' -f rawvideo -pix_fmt rgb24 '" +
                       out + "'", dir.File("ffmpeg.log")))
        return frames;
    const std::vector<uint8_t> bytes = test::ReadBytes(out);
    const size_t frameBytes = size_t(width) * size_t(height) * 3;
    for (size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes) {
        test::RgbPicture picture{width, height, {}};
        picture.Rgb.assign(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + frameBytes));
        frames.push_back(std::move(picture));
    }
    return frames;
}

int64_t DifferingPixels(const PictureContext& pic, const test::RgbPicture& reference) {
    int64_t count = 0;
    for (int32_t y = 0; y < reference.Height; ++y)
        for (int32_t x = 0; x < reference.Width; ++x) count += pic.ColourAt(x, y + 1) != reference.At(x, y);
    return count;
}

// Plays the file through every frame it holds (the loop frames too, which
// the player decodes when it wraps) and compares each with ffmpeg's.
void ExpectFramesAgreeWithFfmpeg(const std::string& path, size_t framesInFile) {
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(path), 1);
    AnimPlayer player(pic);
    EXPECT_EQ(player.Problem(), "");
    const auto reference = FfmpegFrames(path, pic.IlbmInfo.Width, pic.IlbmInfo.Height);
    ASSERT_EQ(reference.size(), framesInFile);
    for (size_t f = 0; f < reference.size(); ++f) {
        SCOPED_TRACE("frame " + std::to_string(f));
        EXPECT_EQ(DifferingPixels(pic, reference[f]), 0);
        player.Next();
    }
}

TEST(AnimDifferential, CorpusAnimationsAgreeWithFfmpeg) {
    if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    // color_balls: 4 planes, op 5, interleave 0, the last two frames repeat
    // the first two. angel: HAM6, op 5, a CMAP in every frame.
    const struct { const char* file; size_t framesInFile, shown; bool loop; } rows[] = {
        {"color_balls.anim", 14, 12, true},
        {"angel_ham6.anim", 26, 26, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        ExpectFramesAgreeWithFfmpeg(DataFile(row.file), row.framesInFile);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(DataFile(row.file)), 1);
        AnimPlayer player(pic);
        EXPECT_EQ(player.FrameCount(), row.shown);
        EXPECT_EQ(player.HasLoopFrames(), row.loop);
    }
}

// Frames with moving blocks of colour over a pattern that differs in every
// column, so that skip, same and unique runs all occur.
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
        if (f % 3 == 0) picture.At(int32_t(random() % uint32_t(width)), 0) ^= 1;  // a lone changed pixel
        source.Frames.push_back(picture);
    }
    return source;
}

// The encoder's own frames are the first oracle (every row); ffmpeg the
// second, except where plane rows are not a whole number of longs: ffmpeg
// reads the last long column of such rows otherwise, so those rows are
// checked against the source frames only.
TEST(AnimDifferential, EncodedVerticalDeltasAgreeWithSourceAndFfmpeg) {
    const struct { test::DeltaKind kind; int32_t width, height; int planes; bool frameColours; } rows[] = {
        {test::DeltaKind::SplitShort, 80, 40, 4, false}, {test::DeltaKind::SplitShort, 33, 17, 3, true},
        {test::DeltaKind::SplitLong, 96, 30, 5, false},  {test::DeltaKind::SplitLong, 64, 50, 8, true},
        {test::DeltaKind::SplitLong, 48, 20, 2, false},  {test::DeltaKind::ListShort, 80, 40, 4, true},
        {test::DeltaKind::ListShort, 48, 64, 2, false},  {test::DeltaKind::ListShort, 17, 64, 2, false},
        {test::DeltaKind::ListLong, 128, 24, 6, false},  {test::DeltaKind::ListLong, 32, 33, 1, true},
        {test::DeltaKind::ListLong, 80, 16, 3, false},
    };
    const bool ffmpeg = test::HaveTool("ffmpeg");
    test::TempDir dir;
    int n = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE("row " + std::to_string(n));
        test::AnimSource source = MovingBlocks(row.width, row.height, row.planes, 9, uint32_t(n + 1));
        if (row.frameColours) {
            source.FrameColours.resize(source.Frames.size());
            for (size_t f = 1; f < source.Frames.size(); ++f) {
                source.FrameColours[f] = source.Colours;
                source.FrameColours[f][f % source.Colours.size()] = 0x102030 * uint32_t(f);
            }
        }
        const std::string path = dir.File("delta" + std::to_string(n++) + ".anim");
        test::WriteBytes(path, test::EncodeAnim(source, row.kind));
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(path), 1);
        AnimPlayer player(pic);
        ASSERT_EQ(player.FrameCount(), source.Frames.size());
        for (size_t f = 0; f < source.Frames.size(); ++f, player.Next()) {
            int64_t differing = 0;
            for (int32_t y = 0; y < row.height; ++y)
                for (int32_t x = 0; x < row.width; ++x) differing += pic.ChunkyAt(x, y + 1) != source.Frames[f].At(x, y);
            EXPECT_EQ(differing, 0) << "frame " << f;
        }
        const bool longData = row.kind == test::DeltaKind::SplitLong || row.kind == test::DeltaKind::ListLong;
        const bool partColumn = longData && test::PlaneRowBytes(row.width) % 4 != 0;
        if (ffmpeg && !partColumn)
            ExpectFramesAgreeWithFfmpeg(path, source.Frames.size());
    }
}

// Broken animations end at the last frame that decodes, with a message.
TEST(AnimBroken, EndsAtTheLastGoodFrame) {
    const test::AnimSource source = MovingBlocks(32, 16, 2, 4, 7);
    const std::vector<uint8_t> good = test::EncodeAnim(source, test::DeltaKind::ListShort);
    auto frameForm = [](const std::vector<uint8_t>& anhd, const std::vector<uint8_t>& dlta) {
        return test::IlbmBuilder().Chunk("ANHD", anhd).Chunk("DLTA", dlta).Bytes();
    };
    const std::vector<uint8_t> first = test::IlbmBuilder()
                                           .Bmhd(32, 16, 2)
                                           .Cmap({0, 0xFF0000, 0xFF00, 0xFF})
                                           .Body(source.Frames[0], {2, test::Packing::Raw})
                                           .Bytes();
    std::vector<uint8_t> offsetOutside(64, 0);
    offsetOutside[3] = 200;  // plane 0's list at 200, in a 64-byte chunk
    std::vector<uint8_t> runPastEnd(64, 0);
    runPastEnd[3] = 64;
    runPastEnd.insert(runPastEnd.end(), {0x03, 0x85, 1, 2});  // a unique run of 5 with 2 values left
    const std::vector<uint8_t> noChange(64, 0);
    std::vector<uint8_t> truncated(good.begin(), good.end() - 10);

    const struct { const char* name; std::vector<uint8_t> file; size_t frames; const char* problem; } rows[] = {
        {"whole", good, 4, ""},
        {"operation 3", test::AnimFile({first, frameForm(test::AnhdData(5, 0, 1, 0), noChange),
                                        frameForm(test::AnhdData(3, 0, 1, 0), noChange)}),
         2, "frame 3 uses delta operation 3, which is not decoded; the animation ends at frame 2"},
        {"interleave 3", test::AnimFile({first, frameForm(test::AnhdData(5, 3, 1, 0), noChange)}), 1,
         "frame 2 changes the frame 3 back, not 1 or 2; the animation ends at frame 1"},
        {"offset outside", test::AnimFile({first, frameForm(test::AnhdData(5, 0, 1, 0), offsetOutside)}), 1,
         "frame 2 has a DLTA that points outside itself; the animation ends at frame 1"},
        {"run past the end", test::AnimFile({first, frameForm(test::AnhdData(5, 0, 1, 0), runPastEnd)}), 1,
         "frame 2 has a DLTA that points outside itself; the animation ends at frame 1"},
        {"no DLTA", test::AnimFile({first, test::IlbmBuilder().Chunk("ANHD", test::AnhdData(5, 0, 1, 0)).Bytes()}),
         1, "frame 2 has no picture data; the animation ends at frame 1"},
        {"another size", test::AnimFile({first, test::IlbmBuilder().Bmhd(16, 16, 2).Chunk("ANHD", test::AnhdData(0, 0, 1, 0)).Body(test::IndexPicture(16, 16), {2, test::Packing::Raw}).Bytes()}),
         1, "frame 2 has another size than the first; the animation ends at frame 1"},
        {"truncated", truncated, 3, "the file ends inside frame 4"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory("broken.anim", row.file), 1);
        AnimPlayer player(pic);
        EXPECT_EQ(player.FrameCount(), row.frames);
        EXPECT_EQ(player.Problem(), row.problem);
        // Playing on wraps within the frames that decode.
        for (size_t i = 0; i < 2 * row.frames + 1; ++i) player.Next();
        EXPECT_EQ(player.Current(), (2 * row.frames + 1) % row.frames);
    }
}

// Every prefix of a small animation and every byte flipped: the load and the
// playback end cleanly (the sanitizer build checks the memory accesses).
TEST(AnimBroken, TruncationAndByteFlipSweepEndsCleanly) {
    test::AnimSource source = MovingBlocks(48, 12, 3, 5, 11);
    for (test::DeltaKind kind : {test::DeltaKind::SplitLong, test::DeltaKind::ListShort}) {
        const std::vector<uint8_t> file = test::EncodeAnim(source, kind);
        for (size_t cut = 0; cut <= file.size(); cut += 3) {
            for (int flip = -1; flip < 2; ++flip) {
                std::vector<uint8_t> bytes(file.begin(), file.begin() + std::ptrdiff_t(cut));
                if (flip >= 0 && cut > 0) bytes[(cut * 7 + size_t(flip)) % cut] ^= uint8_t(0x80 >> flip);
                PictureContext pic;
                pic.ImageByteBudget = 1 << 20;
                try {
                    if (pic.Load_IFF_From_Memory("sweep.anim", bytes) != 1) continue;
                } catch (const std::exception&) {
                    continue;
                }
                AnimPlayer player(pic);
                ASSERT_GE(player.FrameCount(), 1u);
                for (size_t i = 0; i <= player.FrameCount(); ++i) player.Next();
                EXPECT_EQ(player.Current(), 1 % player.FrameCount());
            }
        }
    }
}

}  // namespace
}  // namespace planora
