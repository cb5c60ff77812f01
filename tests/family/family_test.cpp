// The rest of the IFF picture family: RGB8, RGBN, FORM DEEP, FORM IMAG, CMYK,
// HAM5/HAM7, BEAM/RAST, CAT/LIST/PROP. Real files against the renderings of
// the peer that reads them, generated pictures against ilbmtoppm and ffmpeg
// and against the values they were generated from, hand-worked DEEP bodies,
// and the hand-worked files of tests/data/family (line palettes, containers,
// malformed files) with their exact outcomes. The fuzz seeds
// fuzz/seeds/load/family_* take every reader through the hardening tests'
// truncation and byte-flip sweep.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "output/exports.h"
#include "ilbm_builder.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora {
namespace {
using namespace test;
using Bytes = std::vector<uint8_t>;
using Rgba = std::vector<uint32_t>;
std::string Data(const std::string& name) { return PLANORA_TEST_DATA "/family_" + name; }
void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }
Bytes Words(const std::vector<int>& values) {  // big-endian 16-bit words
    Bytes bytes;
    for (int v : values) bytes.insert(bytes.end(), {uint8_t(v >> 8), uint8_t(v)});
    return bytes;
}
std::mt19937 rng(14);

// Loads the file and counts the pixels that differ from the expected
// 0xRRGGBBAA (alpha 255 where the picture has none); -1 when the load fails
// or the size differs.
int64_t Differences(const Bytes& file, int32_t width, int32_t height, const Rgba& rgba) {
    PictureContext pic;
    int64_t count = pic.Load_IFF_From_Memory("test.iff", file) == 1 && pic.IlbmInfo.Width == width && pic.IlbmInfo.Height == height ? 0 : -1;
    for (int32_t i = 0; i < width * height && count >= 0; ++i)
        count += (pic.ColourAt(i % width, i / width + 1) << 8 | pic.AlphaAt(i % width, i / width + 1)) != rgba[size_t(i)];
    return count;
}

TEST(Family, CorpusFilesMatchThePeerRendering) {
    for (const std::string name : {"ham5", "rgb8_testcard", "deep_rgba8", "cmyk_testcard", "cat_deep_ilbm", "imag_clut7"}) {
        std::ifstream pam(Data(name + ".pam"), std::ios::binary);  // the rendering as PAM, RGB_ALPHA
        int32_t width = 0, height = 0;
        for (std::string word; pam >> word && word != "ENDHDR";) (word == "WIDTH" ? pam >> width : word == "HEIGHT" ? pam >> height : pam);
        Rgba expected(size_t(width * height));
        pam.get();
        for (uint32_t& p : expected)
            for (int byte = 0; byte < 4; ++byte) p = p << 8 | uint32_t(pam.get());
        EXPECT_EQ(Differences(ReadBytes(Data(name + ".iff")), width, height, expected), 0) << name;
    }
}

// RGB8 and RGBN: runs of random colours and lengths (crossing rows, using the
// byte and word counts), against the runs as generated and against the peers.
TEST(Family, RunOfColourPicturesMatchTheirRunsAndThePeers) {
    for (const bool rgbn : {true, false}) {
        const int32_t width = 37, height = 23;
        Bytes body;
        Rgba expected;
        while (expected.size() < size_t(width * height)) {
            const uint32_t count = rng() % 300 + 1, c = rng(), genlock = rng() % 5 == 0;
            const uint32_t short_ = count <= (rgbn ? 7u : 127u) ? count : 0, r = c >> 20 & 0xF, g = c >> 12 & 0xF, b = c >> 4 & 0xF;
            Append(body, rgbn ? Words({int(r << 12 | g << 8 | b << 4 | genlock << 3 | short_)})
                              : Bytes{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(genlock << 7 | short_)});
            if (!short_) Append(body, count < 256 ? Bytes{uint8_t(count)} : Bytes{0, uint8_t(count >> 8), uint8_t(count)});
            expected.insert(expected.end(), count, (rgbn ? r << 20 | g << 12 | b << 4 : c & 0xFFFFFF) << 8 | (genlock ? 0 : 255));
        }
        expected.resize(size_t(width * height));
        const TempDir dir;
        const std::string path = dir.File("run.iff");
        IlbmBuilder().FormType(rgbn ? "RGBN" : "RGB8").Bmhd(width, height, rgbn ? 13 : 25, 4).Body(body).WriteTo(path);
        EXPECT_EQ(Differences(ReadBytes(path), width, height, expected), 0) << rgbn;
        // ilbmtoppm writes RGBN with maxval 15, which pamdepth widens by 17 where we widen by 16.
        for (const bool ffmpeg : {false, true}) {
            if (!HaveTool(ffmpeg ? "ffmpeg" : "ilbmtoppm")) continue;
            ASSERT_TRUE(ffmpeg || test::Run("ilbmtoppm " + path + " | pamdepth 255 >" + path + ".ppm", path + ".log"));
            const RgbPicture peer = ffmpeg ? DecodeWithFfmpeg(path, width, height) : ReadPpm(path + ".ppm");
            ASSERT_EQ(peer.Width, width) << ffmpeg;
            for (int32_t i = 0; i < width * height; ++i)
                ASSERT_EQ(peer.At(i % width, i / width), rgbn && !ffmpeg ? (expected[size_t(i)] >> 12 & 0x0F0F0F) * 17 : expected[size_t(i)] >> 8) << ffmpeg << " " << i;
        }
    }
}

// DPEL as words: the element count as a long, then each element's type and bits.
Bytes DeepFile(int width, int height, int compression, const std::vector<int>& dpel, const Bytes& body, const Bytes& tvdc = {}) {
    return IlbmBuilder().FormType("DEEP").Chunk("DGBL", Words({width, height, compression, 0x0101})).Chunk("DPEL", Words(dpel))
        .Chunk("TVDC", tvdc).Chunk("DBOD", body).Bytes();
}
const std::vector<int> kRgb = {0, 3, 1, 8, 2, 8, 3, 8}, kArgb = {0, 4, 17, 8, 1, 8, 2, 8, 3, 8};

// FORM DEEP, 3 x 2 pixels, one row a compression, worked by hand.
TEST(Family, DeepCompressionsGiveTheirPixels) {
    const struct { int compression; Bytes body; Rgba pixels; } cases[] = {
        // alpha first (TVPaint's type 17), then red, green, blue
        {0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24},
         {0x02030401, 0x06070805, 0x0A0B0C09, 0x0E0F100D, 0x12131411, 0x16171815}},
        // repeat 2, copy 2 across the row end, repeat 3 (one too many)
        {1, {0xFF, 0, 1, 2, 3, 0x01, 9, 4, 5, 6, 0, 7, 8, 9, 0xFE, 0, 10, 11, 12},
         {0x01020300, 0x01020300, 0x04050609, 0x07080900, 0x0A0B0C00, 0x0A0B0C00}},
        // red +16 +1 -1; green 0 three times; blue +2 +2 then once more. Each row
        // and element starts at a byte from 0; the second row: red +3 then twice more.
        {5, {0x51, 0x40, 0x02, 0x22, 0x00, 0x30, 0x10, 0x02, 0x02}, {0x100002FF, 0x110004FF, 0x100004FF, 0x030000FF, 0x030000FF, 0x030000FF}},
    };
    const Bytes table = Words({0, 1, 2, 3, -1, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});  // the TVDC deltas
    for (const auto& c : cases)
        EXPECT_EQ(Differences(DeepFile(3, 2, c.compression, c.compression > 1 ? kRgb : kArgb, c.body, table), 3, 2, c.pixels), 0) << c.compression;
}

// HAM5 and HAM7 by the display's rule: the missing top plane reads 0, so only
// base colours and "modify blue" steps occur (4-bit value times 17, or 6-bit
// value into the top of blue, its two low bits kept).
TEST(Family, HamWithFiveAndSevenPlanesFollowsTheDisplay) {
    for (const int planes : {5, 7}) {
        const int32_t width = 45, height = 9, bases = planes == 5 ? 16 : 64;
        IndexPicture picture(width, height);
        Rgba cmap(static_cast<size_t>(bases)), expected;
        for (uint32_t& c : cmap) c = rng() & 0xFFFFFF;
        for (int32_t i = 0, held = 0; i < width * height; ++i) {
            const int32_t p = picture.Pixels[size_t(i)] = uint8_t(rng() % (1u << planes));
            held = i % width == 0 ? int32_t(cmap[0]) : held;  // each row starts from colour 0
            held = p < bases ? int32_t(cmap[size_t(p)]) : planes == 5 ? (held & 0xFFFF00) | (p & 15) * 0x11 : (held & 0xFFFF03) | (p & 63) << 2;
            expected.push_back(uint32_t(held) << 8 | 255);
        }
        const Bytes file = IlbmBuilder().Bmhd(width, height, planes, 1).Cmap(cmap).Camg(0x800).Body(picture, {.Planes = planes, .Compression = Packing::ByteRun1}).Bytes();
        EXPECT_EQ(Differences(file, width, height, expected), 0) << planes;
    }
}

// The hand-worked files of tests/data/family/, each a row of family.tsv: the
// picture asked for, the load's result or the failure's number and a part of
// its text, the picture count and the colours of column 0, row by row.
TEST(Family, HandWorkedFilesEndAsDecided) {
    std::ifstream table(PLANORA_TEST_DATA "/family.tsv");
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line[0] == '#' || line.starts_with("file\t")) continue;
        SCOPED_TRACE(line);
        ++rows;
        std::istringstream in(line);
        std::string name, index, outcome, count, colours, text;
        for (std::string* field : {&name, &index, &outcome, &count, &colours, &text}) std::getline(in, *field, '\t');
        PictureContext pic;
        pic.PictureIndex = std::stoi(index);
        int result;
        try {
            result = pic.Load_IFF_From_Memory(name, ReadBytes(PLANORA_TEST_DATA "/family/" + name));
        } catch (const RunTimeError& failure) {
            result = failure.Number();
            EXPECT_NE(failure.Description().find(text), std::string::npos) << failure.Description();
        }
        ASSERT_EQ(result, std::stoi(outcome));
        if (count != "-") {
            EXPECT_EQ(pic.PictureCount, std::stoi(count));
        }
        std::istringstream list(colours);
        uint32_t colour;
        for (int32_t y = 1; list >> std::hex >> colour; ++y) EXPECT_EQ(pic.ColourAt(0, y), colour) << "row " << y;
    }
    EXPECT_EQ(rows, 39);
}

TEST(Family, ConverterInfoListsEveryPicture) {
    std::string text;
    if (std::FILE* out = ::popen((PLANORA_CONVERT_PATH " --info " + Data("cat_deep_ilbm.iff")).c_str(), "r")) {
        for (int c; (c = std::fgetc(out)) != EOF;) text += char(c);
        EXPECT_EQ(::pclose(out), 0);
    }
    EXPECT_NE(text.find("Picture:  1 of 2 in a CAT\n\nFile: FAMILY_CAT_DEEP_ILBM\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Picture:  2 of 2 in a CAT\n"), std::string::npos) << text;
    // --frames writes each picture: the second as a load of picture 2 gives it.
    TempDir dir;
    const std::string frames = PLANORA_CONVERT_PATH " --frames --format rgb -o " + dir.File("c.rgb") + " ";
    ASSERT_EQ(std::system((frames + Data("cat_deep_ilbm.iff")).c_str()), 0);
    PictureContext second;
    second.PictureIndex = 1;
    ASSERT_EQ(second.Load_IFF_To_Array(Data("cat_deep_ilbm.iff")), 1);
    EXPECT_EQ(ReadBytes(dir.File("c-0002.rgb")), BuildRawRgbFile(second));
    EXPECT_TRUE(ReadBytes(dir.File("c-0003.rgb")).empty());
}

}  // namespace
}  // namespace planora
