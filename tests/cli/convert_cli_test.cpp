// The converter as a user runs it: the real planora-convert process on files
// in a temporary folder, one row per run with its exit status, messages and
// what must (or must not) be on disk afterwards; and the PNG output read back
// by ffmpeg, with transparency from mask planes, transparent colours and
// deep alpha planes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "ilbm_builder.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

using Bytes = std::vector<uint8_t>;

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// Every "@" becomes the folder, and "%VERSION%" the project's version as CMake has it.
std::string Expand(std::string s, const std::string& dir) {
    for (size_t at = s.find('@'); at != std::string::npos; at = s.find('@', at + dir.size())) s.replace(at, 1, dir);
    if (const size_t at = s.find("%VERSION%"); at != std::string::npos) s.replace(at, 9, PLANORA_PROJECT_VERSION);
    return s;
}

// \n, \r and \xHH in the table's texts.
std::string Unescape(const std::string& s) {
    std::string r;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') r += s[i];
        else if (s[++i] == 'x') r += char(std::stoi(s.substr(i + 1, 2), nullptr, 16)), i += 2;
        else r += s[i] == 'n' ? '\n' : s[i] == 'r' ? '\r' : s[i];
    }
    return r;
}

// Equal, or, when expected ends in "*", a prefix.
bool Matches(const std::string& actual, const std::string& expected) {
    if (!expected.empty() && expected.back() == '*') return actual.rfind(expected.substr(0, expected.size() - 1), 0) == 0;
    return actual == expected;
}

// The rows of tests/data/cli.tsv: name, arguments, status, errors, output, files, shell.
using Row = std::vector<std::string>;
std::vector<Row> Rows() {
    std::vector<Row> rows;
    std::ifstream table(PLANORA_TEST_DATA "/cli.tsv");
    for (std::string line; std::getline(table, line);) {
        std::istringstream in(line);
        Row row(7);
        for (auto& field : row) std::getline(in, field, '\t');
        if (!line.empty() && line[0] != '#') rows.push_back(row);
    }
    return rows;
}

class Converter : public testing::TestWithParam<Row> {};

TEST_P(Converter, Run) {
    const Row& c = GetParam();
    TempDir dir;
    // The inputs (tests/data/SOURCES.tsv says what each holds) and an empty folder.
    std::filesystem::copy(PLANORA_TEST_DATA "/cli", dir.Path(), std::filesystem::copy_options::recursive);
    std::filesystem::create_directory(dir.File("out"));
    std::istringstream args(c[1]);
    std::string command = Expand(c[6], dir.Path()) + "'" PLANORA_CONVERT_PATH "'";
    for (std::string arg; args >> arg;) command += " '" + Expand(arg, dir.Path()) + "'";
    command += " >'" + dir.File("stdout") + "' 2>'" + dir.File("stderr") + "'";
    const int raw = std::system(("sh -c \"" + command + "\"").c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, std::stoi(c[2]));
    EXPECT_PRED2(Matches, Text(ReadBytes(dir.File("stderr"))), Unescape(Expand(c[3], dir.Path())));
    EXPECT_PRED2(Matches, Text(ReadBytes(dir.File("stdout"))), Unescape(Expand(c[4], dir.Path())));
    std::istringstream files(c[5]);
    for (std::string name, content; std::getline(files, name, '=') && std::getline(files, content, '|');) {
        if (content == "!") EXPECT_FALSE(std::filesystem::exists(dir.File(name))) << name;
        else EXPECT_EQ(Text(ReadBytes(dir.File(name))), Unescape(content)) << name;
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().find("planora-"), std::string::npos) << "temporary file left: " << entry.path();
}

INSTANTIATE_TEST_SUITE_P(Runs, Converter, testing::ValuesIn(Rows()),
                         [](const testing::TestParamInfo<Row>& info) { return info.param[0]; });

// PNG output as ffmpeg reads it back: pixels 0xAARRGGBB; a transparent pixel
// is checked for its alpha only.
struct PngCase {
    const char* name;
    uint8_t colourType;  // 6: RGBA, 2: RGB
    std::vector<uint32_t> pixels;
};

// The files in tests/data/png_alpha, made with IlbmBuilder.
const PngCase kPngCases[] = {
    // A 3 x 2 picture of indices 1 2 3 / 3 2 1, its mask bits 1 0 1 in each row.
    {"MaskPlane", 6, {0xFFFF0000, 0, 0xFF0000FF, 0xFF0000FF, 0, 0xFFFF0000}},
    // Indices 1 2 3, colour 2 transparent.
    {"TransparentColour", 6, {0xFFFF0000, 0, 0xFF0000FF}},
    // 32 planes: colours 0xFF112233, 0x80445566, 0x00778899.
    {"DeepAlphaPlanes", 6, {0xFF112233, 0x80445566, 0}},
    {"Opaque", 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF}},
};

class PngOutput : public testing::TestWithParam<PngCase> {};

TEST_P(PngOutput, HoldsThePixelsAndTheirAlpha) {
    const PngCase& c = GetParam();
    if (std::system("command -v ffmpeg >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
    TempDir dir;
    const std::string png = dir.File("pic.png"), input = PLANORA_TEST_DATA "/png_alpha/" + std::string(c.name) + ".iff";
    ASSERT_EQ(std::system(("'" PLANORA_CONVERT_PATH "' -o '" + png + "' '" + input + "'").c_str()), 0);
    ASSERT_GT(ReadBytes(png).size(), 25u);
    EXPECT_EQ(ReadBytes(png)[25], c.colourType);
    ASSERT_EQ(std::system(("ffmpeg -v error -i '" + png + "' -f rawvideo -pix_fmt rgba '" + dir.File("pic.rgba") + "'").c_str()), 0);
    const Bytes rgba = ReadBytes(dir.File("pic.rgba"));
    ASSERT_EQ(rgba.size(), 4 * c.pixels.size());
    for (size_t i = 0; i < c.pixels.size(); ++i) {
        const uint32_t argb = uint32_t(rgba[4 * i + 3]) << 24 | rgba[4 * i] << 16 | rgba[4 * i + 1] << 8 | rgba[4 * i + 2];
        EXPECT_EQ(c.pixels[i] >> 24 ? argb : argb >> 24, c.pixels[i]) << "pixel " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, PngOutput, testing::ValuesIn(kPngCases),
                         [](const testing::TestParamInfo<PngCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace planora::test
