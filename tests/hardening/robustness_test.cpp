// Every valid picture of every mode, cut at every length and with bytes
// flipped one at a time: each load must end cleanly, in result 0 or 1 or one
// of the loader's failures, and the writers must then work on what it left.
// Under the sanitizer build any read or write outside a buffer fails here.
#include <gtest/gtest.h>

#include <set>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "output/bmp_writer.h"
#include "output/exports.h"
#include "seed_pictures.h"

namespace planora::test {
namespace {

// Overflow, out of memory, a negative size, more than 8 planes.
const std::set<int> kLoadFailures = {kOverflow, kOutOfMemory, kSubscriptOutOfRange, kInvalidFileFormat};

// Loads bytes into pic and, when a picture came out, builds every output.
// Returns "" for a clean outcome, else what went wrong.
std::string CleanOutcome(PictureContext& pic, const std::vector<uint8_t>& bytes) {
    int16_t result = 0;
    try {
        result = pic.Load_IFF_From_Memory("mutant.iff", bytes);
    } catch (const RunTimeError& e) {
        return kLoadFailures.count(e.Number()) ? "" : "load failure " + std::to_string(e.Number());
    }
    if (result == 0) return "";
    if (result != 1) return "load result " + std::to_string(result);
    try {
        const auto bmp = BuildBitmapFile(pic, pic.IlbmInfo.Width, pic.IlbmInfo.Height);
        const size_t pixels = size_t(pic.IlbmInfo.Width) * size_t(pic.IlbmInfo.Height);
        if (!bmp.empty() && bmp.size() != 54 + 4 * pixels) return "BMP of " + std::to_string(bmp.size()) + " bytes";
        BuildRawRgbFile(pic);
        BuildRawChunkyFile(pic);
        BuildPaletteTextFile(pic);
    } catch (const RunTimeError& e) {
        // A BMP over 2 GiB cannot be described by its 32-bit sizes.
        if (e.Number() != kOverflow) return "writer failure " + std::to_string(e.Number());
    }
    return "";
}

class Robustness : public testing::TestWithParam<seeds::NamedFile> {};

TEST_P(Robustness, TheUnchangedFileLoads) {
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("seed.iff", GetParam().second), 1);
    EXPECT_EQ(pic.IlbmInfo.Width, seeds::kWidth);
    EXPECT_EQ(pic.IlbmInfo.Height, seeds::kHeight);
}

TEST_P(Robustness, EveryTruncationEndsCleanly) {
    const auto& file = GetParam().second;
    PictureContext pic;  // one context, so state carries over as in the program
    for (size_t length = 0; length < file.size(); ++length) {
        const std::vector<uint8_t> cut(file.begin(), file.begin() + long(length));
        ASSERT_EQ(CleanOutcome(pic, cut), "") << "cut at " << length;
    }
}

TEST_P(Robustness, EveryByteFlipEndsCleanly) {
    const auto& file = GetParam().second;
    PictureContext pic;
    for (size_t pos = 0; pos < file.size(); ++pos) {
        for (uint8_t mask : {uint8_t(0xFF), uint8_t(0x80), uint8_t(0x01)}) {
            std::vector<uint8_t> mutant = file;
            mutant[pos] ^= mask;
            ASSERT_EQ(CleanOutcome(pic, mutant), "") << "byte " << pos << " ^ " << int(mask);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, Robustness, testing::ValuesIn(seeds::LoadSeeds()),
                         [](const testing::TestParamInfo<seeds::NamedFile>& info) {
                             std::string name = info.param.first;
                             return name.substr(0, name.find('.'));
                         });

}  // namespace
}  // namespace planora::test
