// Pictures at the shape their display showed (decode/display_shape.h): the
// table of shapes in tests/data/display_shape.tsv, each checked from the
// numbers, from the header of a file built with them, from that file's load,
// and in its pixels against ilbmtoppm | pamscale -linear, which averages the
// areas the same way; and the header read before decoding against the load
// of every picture in tests/data.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "decode/display_shape.h"
#include "iff/picture_context.h"
#include "iff/picture_header.h"
#include "ilbm_builder.h"
#include "output/square_pixels.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

ScaledAxis AxisNamed(const std::string& name) {
    return name == "width" ? ScaledAxis::Width : name == "height" ? ScaledAxis::Height : ScaledAxis::None;
}

Buf ShapedPicture(int32_t width, int32_t height, uint8_t x, uint8_t y, uint32_t camg) {
    constexpr int kPlanes = 4;
    IndexPicture indices(width, height);
    for (int32_t row = 0; row < height; ++row)
        for (int32_t col = 0; col < width; ++col) indices.At(col, row) = uint8_t((7 * col + 3 * row + col * row % 5) % 16);
    std::vector<uint32_t> palette;
    for (uint32_t i = 0; i < 16; ++i) palette.push_back(i * 0x3F1D57u & 0xFFFFFF);
    IlbmBuilder file;
    file.Bmhd({.Width = width, .Height = height, .Bitplanes = kPlanes, .XAspectRatio = x, .YAspectRatio = y}).Cmap(palette);
    if (camg) file.Camg(camg);
    return file.Body(indices, {.Planes = kPlanes}).Bytes();
}

TEST(DisplayShape, TableOfShapesFromNumbersHeaderLoadAndPixels) {
    std::ifstream table(PLANORA_TEST_DATA "/display_shape.tsv");
    const bool pamscale = HaveTool("ilbmtoppm") && HaveTool("pamscale");
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, side;
        int32_t x, y, width, height, shownWidth, shownHeight;
        uint32_t camg;
        ASSERT_TRUE(fields >> name >> x >> y >> std::hex >> camg >> std::dec >> width >> height >> shownWidth >> shownHeight >> side);
        SCOPED_TRACE(line);
        ++rows;
        const DisplaySize expected{shownWidth, shownHeight, AxisNamed(side)};
        EXPECT_EQ(DisplaySizeOf(width, height, PixelAspectOf(x, y, camg)), expected);

        TempDir dir;
        const std::string path = dir.File(name + ".iff");
        const Buf bytes = ShapedPicture(width, height, uint8_t(x), uint8_t(y), camg);
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        const std::optional<PictureHeader> header = ReadPictureHeader(bytes);
        ASSERT_TRUE(header);
        EXPECT_EQ(DisplaySizeOf(*header), expected);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(path), 1);
        const PixelAspect aspect = PixelAspectOf(pic.IlbmInfo);
        EXPECT_EQ(DisplaySizeOf(width, height, aspect), expected);

        ScaledPicture held;
        const PictureView shown = SquarePixels(ViewOf(pic), aspect, held);
        ASSERT_EQ(shown.Width, shownWidth);
        ASSERT_EQ(shown.Height, shownHeight);
        if (!pamscale) continue;
        const std::string scaled = dir.File("scaled.ppm");
        ASSERT_TRUE(test::Run("(ilbmtoppm " + path + " | pamscale -linear -width " + std::to_string(shownWidth) + " -height " +
                            std::to_string(shownHeight) + " >" + scaled + ")",
                        dir.File("pamscale.log")));
        const RgbPicture reference = ReadPpm(scaled);
        for (int32_t row = 0; row < shownHeight; ++row)
            for (int32_t col = 0; col < shownWidth; ++col)
                for (int shift : {0, 8, 16})
                    ASSERT_LE(std::abs(int(shown.ColourAt(col, row) >> shift & 0xFF) - int(reference.At(col, row) >> shift & 0xFF)), 1)
                        << col << "," << row;
    }
    EXPECT_EQ(rows, 26);
    if (!pamscale) GTEST_SKIP() << "netpbm is not installed: pixels not compared";
}

// The header read before decoding tells what the load of the same file then
// finds, for every picture the tests keep (ILBM and its relatives, ANIM, DEEP,
// IMAG, CAT and LIST among them).
TEST(DisplayShape, HeaderTellsWhatTheLoadFinds) {
    int pictures = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(PLANORA_TEST_DATA)) {
        if (!entry.is_regular_file() || entry.file_size() > (8 << 20)) continue;
        const std::string path = entry.path().string();
        PictureContext pic;
        try {
            if (pic.Load_IFF_To_Array(path) != 1 || pic.IlbmInfo.Width < 1 || pic.IlbmInfo.Height < 1) continue;
        } catch (const std::exception&) {
            continue;
        }
        SCOPED_TRACE(path);
        ++pictures;
        std::ifstream in(path, std::ios::binary);
        const Buf bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::optional<PictureHeader> header = ReadPictureHeader(bytes);
        ASSERT_TRUE(header);
        const IlbmInfoRecord& info = pic.IlbmInfo;
        EXPECT_EQ(header->Width, info.Width);
        EXPECT_EQ(header->Height, info.Height);
        EXPECT_EQ(DisplaySizeOf(*header), DisplaySizeOf(info.Width, info.Height, PixelAspectOf(info)));
    }
    EXPECT_GT(pictures, 100);
}

}  // namespace
}  // namespace planora::test
