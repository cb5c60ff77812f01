// Malformed files and the decisions about broken or unusual ones: the files
// in tests/data/malformed, each a row of tests/data/malformed.tsv with the
// exact outcome the loader must reach (the load result or failure number, the
// picture size and a few pixels worked out by hand) and a note on what the
// file holds. Every row is loaded into a context that has just shown a
// picture with palette changes, so nothing of that picture may carry over.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"
#include "output/bmp_writer.h"

namespace planora::test {
namespace {

struct Row {
    std::string file, pixels, note;
    int outcome = 0;  // 0 or 1: the load's result; otherwise the failure number
    int32_t width = 0, height = 0;
    int64_t budget = kDefaultImageByteBudget;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.file << ": " << row.note; }

std::vector<Row> Rows() {
    std::vector<Row> rows;
    std::ifstream table(PLANORA_TEST_DATA "/malformed.tsv");
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#' || line.rfind("file\t", 0) == 0) continue;
        std::istringstream in(line);
        std::vector<std::string> f(7);
        for (auto& field : f) std::getline(in, field, '\t');
        rows.push_back({f[0], f[5], f[6], std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3]),
                        f[4].empty() ? kDefaultImageByteBudget : std::stoll(f[4])});
    }
    return rows;
}

class MalformedFile : public testing::TestWithParam<Row> {};

TEST_P(MalformedFile, EndsInItsOutcome) {
    const Row& row = GetParam();
    PictureContext pic;
    // The picture before: 8 x 2, no CMAP, a PCHG making colours 0 and 1 red.
    const auto before = IlbmBuilder().Bmhd(8, 2, 1).Camg(0).Pchg(PchgData({false, 0, 1, false}, {{0, {0x0F00, 0x1F00}, {}, {}}}))
        .Body({0xFF, 0, 0x0F, 0}).Bytes();
    ASSERT_EQ(pic.Load_IFF_From_Memory("before.iff", before), 1);
    ASSERT_EQ(pic.ColourAt(0, 1), 0xFF0000u);
    const auto bytes = ReadBytes(PLANORA_TEST_DATA "/malformed/" + row.file);
    ASSERT_TRUE(!bytes.empty() || row.file == "EmptyFile.iff");
    pic.ImageByteBudget = row.budget;
    int outcome;
    try {
        outcome = pic.Load_IFF_From_Memory(row.file, bytes);
    } catch (const RunTimeError& e) {
        outcome = e.Number();
    }
    ASSERT_EQ(outcome, row.outcome);
    if (outcome != 1) {
        // Refused before anything is allocated: the last picture's arrays stay.
        if (outcome != kOverflow) {
            EXPECT_EQ(pic.ImageStride(), 9);
            EXPECT_EQ(pic.ColourAt(0, 1), 0xFF0000u);
        }
        return;
    }
    EXPECT_EQ(pic.IlbmInfo.Width, row.width);
    EXPECT_EQ(pic.IlbmInfo.Height, row.height);
    EXPECT_EQ(pic.ImageStride(), row.width + 1);
    std::istringstream pixels(row.pixels);
    int32_t x, y;
    uint32_t colour;
    for (char comma, equals; pixels >> std::dec >> x >> comma >> y >> equals >> std::hex >> colour;)
        EXPECT_EQ(pic.ColourAt(x, y), colour) << "pixel (" << x << ", " << y << ")";
    // The column after the last pixel holds index 0; the BMP has 4 bytes a pixel.
    for (y = 1; y <= row.height; ++y) ASSERT_EQ(pic.ChunkyAt(row.width, y), 0) << "row " << y;
    EXPECT_EQ(BuildBitmapFile(pic, row.width, row.height).size(), row.width && row.height ? 54 + 4 * size_t(row.width * row.height) : 0);
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedFile, testing::ValuesIn(Rows()), [](const testing::TestParamInfo<Row>& info) {
    return info.param.file.substr(0, info.param.file.find('.'));
});

}  // namespace
}  // namespace planora::test
