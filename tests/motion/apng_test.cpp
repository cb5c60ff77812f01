// Animated PNG output of planora-convert, read back by ffmpeg: each frame
// equals ffmpeg's own decoding of the input's frame, the delays are the
// input's, one period of cycling has the length worked out from its ranges;
// --frames writes the frames as numbered files.
#include <gtest/gtest.h>

#include <algorithm>

#include "motion_support.h"

namespace planora {
namespace {

bool Convert(const std::string& arguments, const test::TempDir& dir) {
    return test::Run(PLANORA_CONVERT_PATH " " + arguments, dir.File("convert.log"));
}

// Converts the data file to dir/out.png; its acTL frame count and every fcTL
// delay (numerator, denominator).
using Delay = std::pair<uint32_t, uint32_t>;
std::pair<uint32_t, std::vector<Delay>> ToApng(const std::string& name, const test::TempDir& dir) {
    EXPECT_TRUE(Convert("--format apng -o " + dir.File("out.png") + " " + test::DataFile(name), dir));
    const std::vector<uint8_t> png = test::ReadBytes(dir.File("out.png"));
    auto word = [&](size_t at) { return (uint32_t(png[at]) << 8) | png[at + 1]; };
    std::pair<uint32_t, std::vector<Delay>> timing;
    for (size_t at = 8; at + 12 <= png.size(); at += 12 + ((word(at) << 16) | word(at + 2))) {
        const std::string type(png.begin() + std::ptrdiff_t(at + 4), png.begin() + std::ptrdiff_t(at + 8));
        if (type == "acTL") timing.first = (word(at + 8) << 16) | word(at + 10);
        if (type == "fcTL") timing.second.push_back({word(at + 28), word(at + 30)});
    }
    return timing;
}

// Every check reads what planora-convert wrote through ffmpeg.
class AnimatedPng : public testing::Test {
    void SetUp() override {
        if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    }
};

// color_balls: 12 frames shown (the last two of 14 repeat the first two),
// reltime 4; ham6_cmaps: 10 frames, reltime 2; a still
// picture: one frame.
TEST_F(AnimatedPng, FramesAndDelaysOfTheInput) {
    const struct { const char* file; int32_t width, height; uint32_t frames; Delay delay; } rows[] = {
        {"color_balls.anim", 320, 256, 12, {4, 60}},
        {"anim/ham6_cmaps.anim", 64, 24, 10, {2, 60}},
        {"ham6_serenity.iff", 256, 256, 1, {0, 1}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        test::TempDir dir;
        const auto [frames, delays] = ToApng(row.file, dir);
        EXPECT_EQ(frames, row.frames);
        EXPECT_EQ(delays, std::vector(row.frames, row.delay));
        const auto ours = test::FfmpegFrames(dir.File("out.png"), row.width, row.height, "-f apng");
        const auto reference = test::FfmpegFrames(test::DataFile(row.file), row.width, row.height);
        ASSERT_EQ(ours.size(), row.frames);
        ASSERT_GE(reference.size(), row.frames);
        for (size_t f = 0; f < row.frames; ++f) EXPECT_EQ(ours[f].Rgb, reference[f].Rgb) << "frame " << f;
    }
}

// skywave4: registers 8-15 at rate 5120 (a step every u = 53.33 ms) and
// ranges of 4, 5, 4, 3 and 4 registers at 2560 (every 2u): periods of 8u,
// 8u, 10u, 8u, 6u and 8u, together 120u = 6.4 s; something steps every u,
// so 120 frames of 53 or 54 ms, 80 and 40 of them to make 6400 ms.
TEST_F(AnimatedPng, OneCyclingPeriod) {
    test::TempDir dir;
    const auto [frames, delays] = ToApng("cycling_skywave4.iff", dir);
    EXPECT_EQ(frames, 120u);
    EXPECT_EQ(std::count(delays.begin(), delays.end(), Delay{53, 1000}), 80);
    EXPECT_EQ(std::count(delays.begin(), delays.end(), Delay{54, 1000}), 40);
    const auto ours = test::FfmpegFrames(dir.File("out.png"), 320, 256, "-f apng");
    const auto still = test::FfmpegFrames(test::DataFile("cycling_skywave4.iff"), 320, 256);
    ASSERT_EQ(ours.size(), 120u);
    ASSERT_EQ(still.size(), 1u);
    EXPECT_EQ(ours[0].Rgb, still[0].Rgb);  // the period starts with the stored picture
    EXPECT_NE(ours[1].Rgb, still[0].Rgb);
}

// The 12 frames shown, as b-0001.png to b-0012.png (ffmpeg reads from 1 on
// until a number is missing); the loop frames are left out.
TEST_F(AnimatedPng, FramesAsNumberedFiles) {
    test::TempDir dir;
    const std::string command = "--frames --format png -o " + dir.File("b.png") + " " + test::DataFile("color_balls.anim");
    ASSERT_TRUE(Convert(command, dir));
    const auto ours = test::FfmpegFrames(dir.File("b-%04d.png"), 320, 256, "-start_number 1 -start_number_range 1");
    const auto reference = test::FfmpegFrames(test::DataFile("color_balls.anim"), 320, 256);
    ASSERT_EQ(ours.size(), 12u);
    ASSERT_EQ(reference.size(), 14u);
    for (size_t f = 0; f < 12; ++f) EXPECT_EQ(ours[f].Rgb, reference[f].Rgb) << "frame " << f;
    EXPECT_FALSE(Convert(command, dir));  // existing frames are kept without --force
}

// --aspect: color_balls with its BMHD aspect set to 1:2 comes twice as tall,
// every row of every frame twice.
TEST_F(AnimatedPng, AspectDoublesTheRowsOfEveryFrame) {
    test::TempDir dir;
    std::vector<uint8_t> anim = test::ReadBytes(test::DataFile("color_balls.anim"));
    anim.at(46) = 1, anim.at(47) = 2;  // the first frame's BMHD aspect
    test::WriteBytes(dir.File("tall.anim"), anim);
    ASSERT_TRUE(Convert("--aspect --format apng -o " + dir.File("o.png") + " " + dir.File("tall.anim"), dir));
    const auto ours = test::FfmpegFrames(dir.File("o.png"), 320, 512, "-f apng");
    const auto stored = test::FfmpegFrames(test::DataFile("color_balls.anim"), 320, 256);
    ASSERT_EQ(ours.size(), 12u);
    for (size_t i = 0, row = 960; i < 12 * 512; ++i) {
        const uint8_t* line = ours[i / 512].Rgb.data() + i % 512 * row;
        ASSERT_TRUE(std::equal(line, line + row, stored[i / 512].Rgb.data() + i % 512 / 2 * row)) << i;
    }
}

}  // namespace
}  // namespace planora
