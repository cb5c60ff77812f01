// Pictures at the shape their display showed (decode/display_shape.h): the
// rows of tests/data/display_shape.tsv, and the header read before decoding
// against the load of every picture in tests/data (whose thumbnail table
// checks the enlarged pixels against pamscale).
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "iff/picture_header.h"
#include "decode/display_shape.h"
#include "ilbm_builder.h"

namespace planora::test {
namespace {

TEST(DisplayShape, TableOfShapes) {
    std::ifstream table(PLANORA_TEST_DATA "/display_shape.tsv");
    int rows = 0;
    for (std::string line, name, side; std::getline(table, line);) {
        std::istringstream in(line);
        int32_t x, y, w, h, sw, sh;
        uint32_t camg;
        if (line[0] == '#' || !(in >> name >> x >> y >> std::hex >> camg >> std::dec >> w >> h >> sw >> sh >> side)) continue;
        ++rows;
        const auto axis = ScaledAxis(side == "width" ? 1 : side == "height" ? 2 : 0);
        EXPECT_EQ(DisplaySizeOf(w, h, PixelAspectOf(x, y, camg)), (DisplaySize{sw, sh, axis})) << line;
    }
    EXPECT_EQ(rows, 26);
}

// Every form the tests keep (ILBM and its relatives, ANIM, DEEP, IMAG, CAT
// and LIST among them): the header tells the size and shape the load finds.
TEST(DisplayShape, HeaderTellsWhatTheLoadFinds) {
    int pictures = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PLANORA_TEST_DATA)) {
        const std::string path = entry.path().string();
        PictureContext pic;
        pic.ImageByteBudget = 64 << 20;  // not the pictures made to be too large
        try {
            if (!entry.is_regular_file() || pic.Load_IFF_To_Array(path) != 1 || pic.IlbmInfo.Height < 1) continue;
        } catch (const std::exception&) {
            continue;
        }
        ++pictures;
        const IlbmInfoRecord& i = pic.IlbmInfo;
        const auto header = ReadPictureHeader(ReadBytes(path));
        EXPECT_EQ(header ? DisplaySizeOf(*header) : DisplaySize{}, DisplaySizeOf(i.Width, i.Height, PixelAspectOf(i))) << path;
    }
    EXPECT_GT(pictures, 100);
}

}  // namespace
}  // namespace planora::test
