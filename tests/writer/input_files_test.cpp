// The readers of input/: the pictures in tests/data/input read to the pixels
// netpbm's decoders read (palette PNG and GIF keeping their indices), and
// damaged copies of them (cut short, claiming sizes no ILBM holds, over the
// load budget) refused with one clear message. Both tables are in tests/data.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "input/input_picture.h"
#include "iff/picture_context.h"
#include "output/safe_file.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

using Row = std::vector<std::string>;

std::vector<Row> Table(const std::string& name) {
    std::vector<Row> rows;
    std::ifstream table(PLANORA_TEST_DATA "/" + name);
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream in(line);
        Row row;
        for (std::string field; std::getline(in, field, '\t');) row.push_back(field);
        rows.push_back(row);
    }
    return rows;
}

std::vector<uint8_t> ReadInput(const std::string& name) {
    std::ifstream in(PLANORA_TEST_DATA "/input/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(InputFiles, ReadAsNetpbmReadsThem) {
    if (!HaveTool("pngtopam") || !HaveTool("jpegtopnm")) GTEST_SKIP() << "netpbm not installed";
    const std::vector<Row> rows = Table("input_files.tsv");
    ASSERT_GE(rows.size(), 10u);
    TempDir dir;
    for (const Row& row : rows) {
        ASSERT_EQ(row.size(), 3u);
        const std::string source = PLANORA_TEST_DATA "/input/" + row[0], ppm = dir.File(row[0] + ".ppm");
        ASSERT_TRUE(test::Run("(cat '" + source + "' | " + row[1] + " | ppmtoppm >'" + ppm + "')", dir.File("log"))) << row[0];
        const RgbPicture reference = ReadPpm(ppm);
        const input::InputPicture picture = input::ReadInputPicture(ReadInput(row[0]), kDefaultImageByteBudget);
        EXPECT_EQ(picture.Colours.Width, reference.Width) << row[0];
        EXPECT_EQ(picture.Colours.Height, reference.Height) << row[0];
        EXPECT_EQ(picture.Colours.Rgb, reference.Rgb) << row[0];
        const int planes = std::stoi(row[2]);
        EXPECT_EQ(picture.Indexed.has_value(), planes > 0) << row[0];
        if (picture.Indexed) {
            EXPECT_EQ(picture.Indexed->Planes, planes) << row[0];
            EXPECT_EQ(picture.Indexed->Colours.size(), size_t{1} << planes) << row[0];
        }
    }
}

// The damaged bytes; budget is lowered by "budget N".
std::vector<uint8_t> Damage(std::vector<uint8_t> bytes, const std::string& name, const std::string& damage,
                            int64_t& budget);

TEST(InputFiles, DamagedFilesRefusedWithAMessage) {
    const std::vector<Row> rows = Table("input_hostile.tsv");
    ASSERT_GE(rows.size(), 20u);
    for (const Row& row : rows) {
        ASSERT_EQ(row.size(), 3u);
        int64_t budget = kDefaultImageByteBudget;
        const std::vector<uint8_t> bytes = Damage(ReadInput(row[0]), row[0], row[1], budget);
        std::string message = "read without error";
        try {
            input::ReadInputPicture(bytes, budget);
        } catch (const input::InputError& failure) {
            message = failure.what();
        }
        EXPECT_EQ(message.substr(0, row[2].size()), row[2]) << row[0] << " " << row[1] << ": " << message;
    }
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = crc >> 1 ^ (0xEDB88320 & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBig(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int length) {
    for (int i = 0; i < length; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * (length - 1 - i)));
}

void PutLittle(std::vector<uint8_t>& bytes, size_t at, uint32_t value, int length) {
    for (int i = 0; i < length; ++i) bytes[at + size_t(i)] = uint8_t(value >> (8 * i));
}

// Writes the size where each format's header keeps it.
void ClaimSize(std::vector<uint8_t>& bytes, const std::string& name, uint32_t width, uint32_t height) {
    const std::string kind = name.substr(name.rfind('.') + 1);
    if (kind == "png") {
        PutBig(bytes, 16, width, 4);
        PutBig(bytes, 20, height, 4);
        PutBig(bytes, 29, Crc32(bytes.data() + 12, 17), 4);  // the IHDR's CRC
    } else if (kind == "gif") {
        PutLittle(bytes, 6, width, 2);
        PutLittle(bytes, 8, height, 2);
    } else if (kind == "bmp") {
        PutLittle(bytes, 18, width, 4);
        PutLittle(bytes, 22, height, 4);
    } else {  // JPEG: the frame header after its SOF0 or SOF2 marker
        for (size_t at = 2; at + 9 < bytes.size(); ++at)
            if (bytes[at] == 0xFF && (bytes[at + 1] == 0xC0 || bytes[at + 1] == 0xC2)) {
                PutBig(bytes, at + 5, height, 2);
                PutBig(bytes, at + 7, width, 2);
                return;
            }
    }
}

std::vector<uint8_t> Damage(std::vector<uint8_t> bytes, const std::string& name, const std::string& damage,
                            int64_t& budget) {
    std::istringstream in(damage);
    std::string kind;
    uint32_t a = 0, b = 0;
    in >> kind >> a >> b;
    if (kind == "cut") bytes.resize(std::min<size_t>(a, bytes.size()));
    if (kind == "size") ClaimSize(bytes, name, a, b);
    if (kind == "budget") budget = a;
    return bytes;
}

}  // namespace
}  // namespace planora::test
