// Animated PNG output of planora-convert, read back by ffmpeg: the frames of
// an ANIM equal ffmpeg's own decoding of the ANIM, one period of cycling has
// the frame count and length worked out from the ranges, a still picture is
// one frame; --frames writes the frames as numbered files.
#include <gtest/gtest.h>

#include "decode/colour_cycling.h"
#include "ilbm_builder.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora {
namespace {

std::string DataFile(const std::string& name) { return std::string(PLANORA_TEST_DATA) + "/" + name; }

std::vector<test::RgbPicture> FfmpegFrames(const std::string& input, const std::string& inputFormat, int32_t width,
                                           int32_t height, const test::TempDir& dir) {
    const std::string out = dir.File("frames.rgb");
    std::vector<test::RgbPicture> frames;
    if (!test::Run("ffmpeg -nostdin -v error -y -vsync passthrough " + inputFormat + " -i '" + input +
                       "' -f rawvideo -pix_fmt rgb24 '" + out + "'",
                   dir.File("ffmpeg.log")))
        return frames;
    const std::vector<uint8_t> bytes = test::ReadBytes(out);
    const size_t frameBytes = size_t(width) * size_t(height) * 3;
    for (size_t at = 0; at + frameBytes <= bytes.size(); at += frameBytes)
        frames.push_back({width, height, {bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + frameBytes)}});
    return frames;
}

bool Convert(const std::string& arguments, const test::TempDir& dir) {
    return test::Run(std::string(PLANORA_CONVERT_PATH) + " " + arguments, dir.File("convert.log"));
}

uint32_t Long(const std::vector<uint8_t>& b, size_t at) {
    return (uint32_t(b[at]) << 24) | (uint32_t(b[at + 1]) << 16) | (uint32_t(b[at + 2]) << 8) | b[at + 3];
}

// The acTL frame count and every fcTL delay as (numerator, denominator).
struct Timing {
    uint32_t Frames = 0;
    std::vector<std::pair<uint32_t, uint32_t>> Delays;
};
Timing ReadTiming(const std::vector<uint8_t>& png) {
    Timing timing;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t length = Long(png, at);
        const std::string type(png.begin() + std::ptrdiff_t(at + 4), png.begin() + std::ptrdiff_t(at + 8));
        if (type == "acTL") timing.Frames = Long(png, at + 8);
        if (type == "fcTL")
            timing.Delays.push_back({(uint32_t(png[at + 28]) << 8) | png[at + 29], (uint32_t(png[at + 30]) << 8) | png[at + 31]});
        at += 12 + length;
    }
    return timing;
}

TEST(AnimatedPng, AnimationFramesEqualFfmpegsDecodingOfTheAnim) {
    if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    // color_balls: 12 frames shown (its last two repeat the first two),
    // reltime 4; angel: 26 frames, reltime 0, shown for one tick each.
    const struct { const char* file; int32_t width, height; size_t frames; uint32_t ticks; } rows[] = {
        {"color_balls.anim", 320, 256, 12, 4},
        {"angel_ham6.anim", 320, 200, 26, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        test::TempDir dir;
        ASSERT_TRUE(Convert("--format apng -o " + dir.File("out.png") + " " + DataFile(row.file), dir));
        const Timing timing = ReadTiming(test::ReadBytes(dir.File("out.png")));
        EXPECT_EQ(timing.Frames, row.frames);
        const std::vector<std::pair<uint32_t, uint32_t>> delays(row.frames, {row.ticks, 60});
        EXPECT_EQ(timing.Delays, delays);
        const auto ours = FfmpegFrames(dir.File("out.png"), "-f apng", row.width, row.height, dir);
        const auto reference = FfmpegFrames(DataFile(row.file), "", row.width, row.height, dir);
        ASSERT_EQ(ours.size(), row.frames);
        ASSERT_GE(reference.size(), row.frames);
        for (size_t f = 0; f < row.frames; ++f) EXPECT_EQ(ours[f].Rgb, reference[f].Rgb) << "frame " << f;
    }
}

TEST(AnimatedPng, OneCyclingPeriod) {
    if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    // skywave4: registers 8-15 at rate 5120 (a step every u = 53.33 ms) and
    // five ranges of 4, 5, 4, 3 and 4 registers at 2560 (every 2u): periods
    // of 8u, 8u, 10u, 8u, 6u and 8u, together 120u = 6.4 s; something steps
    // every u, so 120 frames of 53 or 54 ms.
    test::TempDir dir;
    ASSERT_TRUE(Convert("--format apng -o " + dir.File("out.png") + " " + DataFile("cycling_skywave4.iff"), dir));
    const Timing timing = ReadTiming(test::ReadBytes(dir.File("out.png")));
    EXPECT_EQ(timing.Frames, 120u);
    ASSERT_EQ(timing.Delays.size(), 120u);
    uint32_t total = 0;
    for (const auto& [numerator, denominator] : timing.Delays) {
        EXPECT_EQ(denominator, 1000u);
        EXPECT_TRUE(numerator == 53 || numerator == 54) << numerator;
        total += numerator;
    }
    EXPECT_EQ(total, 6400u);
    // Round trip: the frames ffmpeg reads are the cycled palette's pictures.
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(DataFile("cycling_skywave4.iff")), 1);
    const auto frames = FfmpegFrames(dir.File("out.png"), "-f apng", 320, 256, dir);
    ASSERT_EQ(frames.size(), 120u);
    int64_t end = 0;
    const std::vector<int64_t> moments = CyclePeriodMoments(pic.ColourRanges, 600, end);
    std::vector<uint32_t> colours(size_t(pic.ImageStride()) * size_t(pic.ImageRows()));
    for (size_t f : {size_t(0), size_t(1), size_t(37), size_t(119)}) {
        ColourTable palette{};
        CyclePalette(pic.ColourRanges, pic.Palette, moments[f], false, palette);
        pic.MapPictureWithPalette(palette, colours.data());
        int64_t differing = 0;
        for (int32_t y = 0; y < 256; ++y)
            for (int32_t x = 0; x < 320; ++x)
                differing += frames[f].At(x, y) != colours[size_t(y + 1) * size_t(pic.ImageStride()) + size_t(x)];
        EXPECT_EQ(differing, 0) << "frame " << f;
    }
    EXPECT_NE(frames[0].Rgb, frames[1].Rgb);
}

TEST(AnimatedPng, StillPictureIsOneFrame) {
    if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    test::TempDir dir;
    ASSERT_TRUE(Convert("--format apng -o " + dir.File("still.png") + " " + DataFile("ham6_serenity.iff"), dir));
    ASSERT_TRUE(Convert("--format png -o " + dir.File("plain.png") + " " + DataFile("ham6_serenity.iff"), dir));
    EXPECT_EQ(ReadTiming(test::ReadBytes(dir.File("still.png"))).Frames, 1u);
    const auto animated = FfmpegFrames(dir.File("still.png"), "-f apng", 256, 256, dir);
    const auto plain = FfmpegFrames(dir.File("plain.png"), "", 256, 256, dir);
    ASSERT_EQ(animated.size(), 1u);
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(animated[0].Rgb, plain[0].Rgb);
}

TEST(AnimatedPng, FramesAsNumberedFiles) {
    if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    test::TempDir dir;
    ASSERT_TRUE(Convert("--frames --format png -o " + dir.File("balls.png") + " " + DataFile("color_balls.anim"), dir));
    const auto reference = FfmpegFrames(DataFile("color_balls.anim"), "", 320, 256, dir);
    ASSERT_EQ(reference.size(), 14u);
    for (size_t f = 0; f < 12; ++f) {
        char name[32];
        std::snprintf(name, sizeof name, "balls-%04zu.png", f + 1);
        const auto frame = FfmpegFrames(dir.File(name), "", 320, 256, dir);
        ASSERT_EQ(frame.size(), 1u) << name;
        EXPECT_EQ(frame[0].Rgb, reference[f].Rgb) << name;
    }
    EXPECT_TRUE(test::ReadBytes(dir.File("balls-0013.png")).empty());  // the loop frames are left out
    // Existing frames are kept without --force, and nothing is written.
    EXPECT_FALSE(Convert("--frames --format png -o " + dir.File("balls.png") + " " + DataFile("color_balls.anim"), dir));
}

}  // namespace
}  // namespace planora
