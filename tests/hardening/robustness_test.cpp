// Every seed picture of the fuzz targets (a small valid file of each mode the
// loader knows), cut at every length and with bytes flipped one at a time:
// each load must end cleanly, in result 0 or 1 or one of the loader's
// failures, and the writers must then work on what it left. Under the
// sanitizer build any read or write outside a buffer fails here; LeakSanitizer
// checks the program for leaks at exit, and the heap test below checks that
// loads do not pile up memory in the ordinary build.
#include <gtest/gtest.h>

#include <malloc.h>

#include <filesystem>
#include <set>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"
#include "output/bmp_writer.h"
#include "output/exports.h"

namespace planora::test {
namespace {

struct Seed {
    std::string name;
    Buf bytes;
};
void PrintTo(const Seed& seed, std::ostream* os) { *os << seed.name; }

std::vector<Seed> Seeds() {
    std::vector<Seed> seeds;
    if (!std::filesystem::is_directory(PLANORA_SEEDS)) return seeds;
    for (const auto& entry : std::filesystem::directory_iterator(PLANORA_SEEDS))
        seeds.push_back({entry.path().stem().string(), ReadBytes(entry.path().string())});
    return seeds;
}

// Overflow, out of memory, a negative size, an unknown plane count.
const std::set<int> kLoadFailures = {kOverflow, kOutOfMemory, kSubscriptOutOfRange, kInvalidFileFormat};

// Loads bytes into pic and, when a picture came out, builds every output.
// Returns "" for a clean outcome, else what went wrong.
std::string CleanOutcome(PictureContext& pic, const Buf& bytes) {
    int16_t result = 0;
    try {
        result = pic.Load_IFF_From_Memory("mutant.iff", bytes);
    } catch (const RunTimeError& e) {
        return kLoadFailures.count(e.Number()) ? "" : "load failure " + std::to_string(e.Number());
    }
    if (result != 1) return result == 0 ? "" : "load result " + std::to_string(result);
    try {
        const auto bmp = BuildBitmapFile(pic, pic.IlbmInfo.Width, pic.IlbmInfo.Height);
        const size_t pixels = size_t(pic.IlbmInfo.Width) * size_t(pic.IlbmInfo.Height);
        if (!bmp.empty() && bmp.size() != 54 + 4 * pixels) return "BMP of " + std::to_string(bmp.size()) + " bytes";
        if (BuildRawRgbFile(pic).size() != 4 * pic.ColourImage.size()) return "raw RGB of the wrong size";
        BuildRawChunkyFile(pic);
        BuildPaletteTextFile(pic);
    } catch (const RunTimeError& e) {
        // A BMP over 2 GiB cannot be described by its 32-bit sizes.
        if (e.Number() != kOverflow) return "writer failure " + std::to_string(e.Number());
    }
    return "";
}

class Robustness : public testing::TestWithParam<Seed> {};

TEST_P(Robustness, EveryTruncationAndByteFlipEndsCleanly) {
    const auto& file = GetParam().bytes;
    PictureContext pic;  // one context, so state carries over as in the program
    ASSERT_EQ(pic.Load_IFF_From_Memory("seed.iff", file), 1);
    for (size_t length = 0; length < file.size(); ++length)
        ASSERT_EQ(CleanOutcome(pic, Buf(file.begin(), file.begin() + long(length))), "") << "cut at " << length;
    for (size_t pos = 0; pos < file.size(); ++pos)
        for (uint8_t mask : {uint8_t(0xFF), uint8_t(0x80), uint8_t(0x01)}) {
            Buf mutant = file;
            mutant[pos] ^= mask;
            ASSERT_EQ(CleanOutcome(pic, mutant), "") << "byte " << pos << " ^ " << int(mask);
        }
}

INSTANTIATE_TEST_SUITE_P(Seeds, Robustness, testing::ValuesIn(Seeds()),
                         [](const testing::TestParamInfo<Seed>& info) { return info.param.name; });

// Each load replaces the last one's arrays: a hundred rounds over every seed
// leave the heap as it was after the first ten.
TEST(NoLeaks, RepeatedLoadsDoNotGrowTheHeap) {
    const auto seeds = Seeds();
    ASSERT_GT(seeds.size(), 10u);
    PictureContext pic;
    const auto loadAll = [&] { for (const auto& seed : seeds) EXPECT_EQ(CleanOutcome(pic, seed.bytes), ""); };
    for (int round = 0; round < 10; ++round) loadAll();  // the first rounds settle caches
    const size_t settled = mallinfo2().uordblks;
    for (int round = 0; round < 100; ++round) loadAll();
    EXPECT_LE(mallinfo2().uordblks, settled + 4096);
}

}  // namespace
}  // namespace planora::test
