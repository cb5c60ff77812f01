// Pictures at the shape their display showed (decode/display_shape.h): each
// row of tests/data/display_shape.tsv from the numbers, from the header and
// the load of a file built with them, and in its pixels against ilbmtoppm |
// pamscale -linear (the same area averaging); and the header read before
// decoding against the load of every picture in tests/data.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "iff/picture_header.h"
#include "ilbm_builder.h"
#include "output/square_pixels.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

TEST(DisplayShape, TableOfShapes) {
    std::ifstream table(PLANORA_TEST_DATA "/display_shape.tsv");
    std::vector<uint32_t> palette(16);
    for (uint32_t i = 0; i < 16; ++i) palette[i] = i * 0x3F1D57u & 0xFFFFFF;
    int rows = 0;
    for (std::string line, name, side; std::getline(table, line);) {
        std::istringstream in(line);
        int32_t x, y, w, h, sw, sh;
        uint32_t camg;
        if (line[0] == '#' || !(in >> name >> x >> y >> std::hex >> camg >> std::dec >> w >> h >> sw >> sh >> side)) continue;
        SCOPED_TRACE(line);
        ++rows;
        const ScaledAxis axis = side == "width" ? ScaledAxis::Width : side == "height" ? ScaledAxis::Height : ScaledAxis::None;
        const DisplaySize expected{sw, sh, axis};
        EXPECT_EQ(DisplaySizeOf(w, h, PixelAspectOf(x, y, camg)), expected);
        IndexPicture indices(w, h);
        for (size_t i = 0; i < indices.Pixels.size(); ++i) indices.Pixels[i] = uint8_t(i * 7 % 13);
        IlbmBuilder file;
        file.Bmhd({.Width = w, .Height = h, .Bitplanes = 4, .XAspectRatio = uint8_t(x), .YAspectRatio = uint8_t(y)}).Cmap(palette);
        if (camg) file.Camg(camg);
        file.Body(indices, {.Planes = 4});
        EXPECT_EQ(DisplaySizeOf(ReadPictureHeader(file.Bytes()).value()), expected);
        TempDir dir;
        file.WriteTo(dir.File("p.iff"));
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(dir.File("p.iff")), 1);
        ScaledPicture held;
        const PictureView shown = SquarePixels(ViewOf(pic), PixelAspectOf(pic.IlbmInfo), held);
        ASSERT_EQ(std::pair(shown.Width, shown.Height), std::pair(sw, sh));
        if (!HaveTool("pamscale")) continue;
        ASSERT_TRUE(test::Run("(cd " + dir.Path() + " && ilbmtoppm p.iff | pamscale -linear -width " + std::to_string(sw) +
                            " -height " + std::to_string(sh) + " >r.ppm)", dir.File("log")));
        const RgbPicture reference = ReadPpm(dir.File("r.ppm"));
        for (int32_t i = 0; i < sw * sh; ++i)
            for (int s : {0, 8, 16})
                ASSERT_LE(std::abs(int(shown.ColourAt(i % sw, i / sw) >> s & 255) - int(reference.At(i % sw, i / sw) >> s & 255)), 1) << i;
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
        try {
            if (!entry.is_regular_file() || pic.Load_IFF_To_Array(path) != 1 || pic.IlbmInfo.Width < 1 || pic.IlbmInfo.Height < 1) continue;
        } catch (const std::exception&) {
            continue;
        }
        ++pictures;
        const IlbmInfoRecord& info = pic.IlbmInfo;
        const std::optional<PictureHeader> header = ReadPictureHeader(ReadBytes(path));
        ASSERT_TRUE(header) << path;
        EXPECT_EQ(std::pair(header->Width, header->Height), std::pair(info.Width, info.Height)) << path;
        EXPECT_EQ(DisplaySizeOf(*header), DisplaySizeOf(info.Width, info.Height, PixelAspectOf(info))) << path;
    }
    EXPECT_GT(pictures, 100);
}

}  // namespace
}  // namespace planora::test
