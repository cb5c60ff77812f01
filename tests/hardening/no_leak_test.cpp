// Loading the same pictures over and over in one process must not grow the
// heap: each load replaces the last one's arrays. (Under the sanitizer build,
// LeakSanitizer also checks the whole test program for leaks at exit.)
#include <gtest/gtest.h>

#include <malloc.h>

#include "iff/picture_context.h"
#include "output/bmp_writer.h"
#include "output/exports.h"
#include "seed_pictures.h"

namespace planora::test {
namespace {

size_t HeapInUse() { return mallinfo2().uordblks; }

TEST(NoLeaks, HundredLoadsOfEveryPictureDoNotGrowTheHeap) {
    const auto seedFiles = seeds::LoadSeeds();
    ASSERT_FALSE(seedFiles.empty());
    PictureContext pic;
    const auto loadAll = [&] {
        for (const auto& seed : seedFiles) {
            try {
                if (pic.Load_IFF_From_Memory("seed.iff", seed.second) == 1 && pic.IlbmInfo.Width > 0 &&
                    pic.IlbmInfo.Height > 0) {
                    BuildBitmapFile(pic, pic.IlbmInfo.Width, pic.IlbmInfo.Height);
                    BuildPaletteTextFile(pic);
                }
            } catch (const std::exception&) {
            }
        }
    };
    loadAll();
    const size_t afterFirstRound = HeapInUse();
    for (int round = 0; round < 100; ++round) loadAll();
    // The arrays of the last picture stay; nothing else may pile up.
    EXPECT_LE(HeapInUse(), afterFirstRound + 4096);
}

}  // namespace
}  // namespace planora::test
