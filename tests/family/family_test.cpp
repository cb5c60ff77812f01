// The rest of the IFF picture family: RGB8, RGBN, FORM DEEP, FORM IMAG, CMYK,
// HAM5/HAM7, BEAM/RAST, CAT/LIST/PROP. Real files against the renderings of
// the peer that reads them, generated pictures against ilbmtoppm and ffmpeg
// and against the values they were generated from, hand-worked bodies, line
// palettes and containers, and malformed files with their exact outcome. The
// fuzz seeds fuzz/seeds/load/family_* take every reader through the hardening
// tests' truncation and byte-flip sweep.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora {
namespace {
using test::IlbmBuilder;
using Bytes = std::vector<uint8_t>;
using Rgba = std::vector<uint32_t>;
std::string Data(const std::string& name) { return std::string(PLANORA_TEST_DATA) + "/family_" + name; }
Bytes Word(uint32_t v) { return {uint8_t(v >> 8), uint8_t(v)}; }
void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }
std::mt19937 rng(14);

// Pixels that differ from the expected 0xRRGGBBAA (alpha 255 where the picture has none).
int64_t Differences(const PictureContext& pic, int32_t width, int32_t height, const Rgba& rgba) {
    int64_t count = pic.IlbmInfo.Width == width && pic.IlbmInfo.Height == height ? 0 : -1;
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
        for (uint32_t& p : expected) p = uint32_t(pam.get()) << 24 | uint32_t(pam.get()) << 16 | uint32_t(pam.get()) << 8 | uint32_t(pam.get());
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(Data(name + ".iff")), 1) << name;
        EXPECT_EQ(Differences(pic, width, height, expected), 0) << name;
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
            Append(body, rgbn ? Word(r << 12 | g << 8 | b << 4 | genlock << 3 | short_)
                              : Bytes{uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(genlock << 7 | short_)});
            if (!short_) count < 256 ? body.push_back(uint8_t(count)) : (body.push_back(0), Append(body, Word(count)));
            expected.insert(expected.end(), count, (rgbn ? r << 20 | g << 12 | b << 4 : c & 0xFFFFFF) << 8 | (genlock ? 0 : 255));
        }
        expected.resize(size_t(width * height));
        const test::TempDir dir;
        const std::string path = dir.File("run.iff");
        IlbmBuilder().FormType(rgbn ? "RGBN" : "RGB8").Bmhd(width, height, rgbn ? 13 : 25, 4).Body(body).WriteTo(path);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(path), 1);
        EXPECT_EQ(Differences(pic, width, height, expected), 0) << rgbn;
        // ilbmtoppm writes RGBN with maxval 15, which pamdepth widens by 17 where we widen by 16.
        for (const bool ffmpeg : {false, true}) {
            if (!test::HaveTool(ffmpeg ? "ffmpeg" : "ilbmtoppm")) continue;
            ASSERT_TRUE(ffmpeg || test::Run("ilbmtoppm " + path + " | pamdepth 255 >" + path + ".ppm", path + ".log"));
            const test::RgbPicture peer = ffmpeg ? test::DecodeWithFfmpeg(path, width, height) : test::ReadPpm(path + ".ppm");
            for (int32_t i = 0; i < width * height; ++i)
                ASSERT_EQ(peer.Width ? peer.At(i % width, i / width) : ~0u,
                          rgbn && !ffmpeg ? (expected[size_t(i)] >> 12 & 0x0F0F0F) * 17 : expected[size_t(i)] >> 8) << ffmpeg << " " << i;
        }
    }
}

Bytes DeepFile(int32_t width, int32_t height, int compression, const std::vector<std::pair<int, int>>& elements,
               const Bytes& body, const Bytes& tvdc = {}) {
    Bytes dgbl = Word(width), dpel = {0, 0, 0, uint8_t(elements.size())};
    Append(dgbl, Word(height)), Append(dgbl, Word(compression)), Append(dgbl, {1, 1});
    for (auto [type, bits] : elements) Append(dpel, Word(type)), Append(dpel, Word(bits));
    return IlbmBuilder().FormType("DEEP").Chunk("DGBL", dgbl).Chunk("DPEL", dpel).Chunk("TVDC", tvdc).Chunk("DBOD", body).Bytes();
}
const std::vector<std::pair<int, int>> kRgb = {{1, 8}, {2, 8}, {3, 8}}, kArgb = {{17, 8}, {1, 8}, {2, 8}, {3, 8}};

// FORM DEEP, 3 x 2 pixels, one row a compression, worked by hand.
TEST(Family, DeepCompressionsGiveTheirPixels) {
    Bytes table;
    for (int d : {0, 1, 2, 3, -1, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) Append(table, Word(uint16_t(d)));
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
    for (const auto& c : cases) {
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory("deep.iff", DeepFile(3, 2, c.compression, c.compression > 1 ? kRgb : kArgb, c.body, table)), 1);
        EXPECT_EQ(Differences(pic, 3, 2, c.pixels), 0) << c.compression;
    }
}

// HAM5 and HAM7 by the display's rule: the missing top plane reads 0, so only
// base colours and "modify blue" steps occur (4-bit value times 17, or 6-bit
// value into the top of blue, its two low bits kept).
TEST(Family, HamWithFiveAndSevenPlanesFollowsTheDisplay) {
    for (const int planes : {5, 7}) {
        const int32_t width = 45, height = 9, bases = planes == 5 ? 16 : 64;
        test::IndexPicture picture(width, height);
        Rgba cmap(static_cast<size_t>(bases)), expected;
        for (uint32_t& c : cmap) c = rng() & 0xFFFFFF;
        for (int32_t i = 0, held = 0; i < width * height; ++i) {
            const int32_t p = picture.Pixels[size_t(i)] = uint8_t(rng() % (1u << planes));
            held = i % width == 0 ? int32_t(cmap[0]) : held;  // each row starts from colour 0
            held = p < bases ? int32_t(cmap[size_t(p)]) : planes == 5 ? (held & 0xFFFF00) | (p & 15) * 0x11 : (held & 0xFFFF03) | (p & 63) << 2;
            expected.push_back(uint32_t(held) << 8 | 255);
        }
        PictureContext pic;
        const test::BodyOptions packed = {.Planes = planes, .Compression = test::Packing::ByteRun1};
        ASSERT_EQ(pic.Load_IFF_From_Memory("ham", IlbmBuilder().Bmhd(width, height, planes, 1).Cmap(cmap).Camg(0x800).Body(picture, packed).Bytes()), 1);
        EXPECT_EQ(Differences(pic, width, height, expected), 0) << planes;
    }
}

Bytes Lines(size_t words, std::vector<uint16_t> colour1) {  // colour 1 of each line, the rest 0
    Bytes data(colour1.size() * words * 2, 0);
    for (size_t line = 0; line < colour1.size(); ++line) data[line * words * 2 + 2] = uint8_t(colour1[line] >> 8), data[line * words * 2 + 3] = uint8_t(colour1[line]);
    return data;
}
Bytes LinePicture(const std::vector<std::pair<const char*, Bytes>>& chunks) {
    IlbmBuilder file = IlbmBuilder().Bmhd(1, 3, 1).Cmap({0, 0x123456});
    for (const auto& [id, data] : chunks) file.Chunk(id, data);
    return file.Body(test::IndexPicture(1, 3, 1), {.Planes = 1}).Bytes();
}

Bytes Group(const char* id, const char* type, const std::vector<Bytes>& parts) {
    IlbmBuilder group = IlbmBuilder().FormId(id).FormType(type);
    for (const Bytes& part : parts) group.Raw(part);
    return group.Bytes();
}
Bytes Prop(uint32_t colour1, const char* type = "ILBM") { return IlbmBuilder().FormId("PROP").FormType(type).Cmap({0, colour1}).Bytes(); }
Bytes Pixel(IlbmBuilder form = IlbmBuilder().Bmhd(1, 1, 1)) { return form.Body(test::IndexPicture(1, 1, 1), {.Planes = 1}).Bytes(); }
Bytes Pixel(uint32_t colour1) { return Pixel(IlbmBuilder().Bmhd(1, 1, 1).Cmap({0, colour1})); }

// Line palettes on a picture of one column, three rows of colour 1 (CMAP
// colour 1 0x123456), and containers of one-pixel pictures of colour 1.
TEST(Family, LinePalettesAndContainersAsDecided) {
    Bytes rast = Word(2);  // line 2: ST red 7 plus the STE bit, 15; line 0: red 7, STE 14; times 16
    Append(rast, Lines(16, {0x0F00})), Append(rast, Word(0)), Append(rast, Lines(16, {0x0700}));
    const Bytes beam = Lines(2, {0x0F00, 0x00F0, 0x000F}), ctbl = Lines(16, {0x0FFF, 0x0FFF, 0x0FFF});
    const Bytes headerProp = IlbmBuilder().FormId("PROP").Bmhd(1, 1, 1).Cmap({0, 0xA}).Bytes();
    const Bytes sound = IlbmBuilder().FormType("8SVX").Chunk("VHDR", Bytes(20, 0)).Bytes();
    const struct { const char* name; Bytes file; int32_t index, loaded, count; Rgba rows; } cases[] = {
        {"BEAM widens by 16", LinePicture({{"BEAM", beam}}), 0, 1, 1, {0xF00000, 0x00F000, 0x0000F0}},
        {"RAST holds down to the next entry", LinePicture({{"RAST", rast}}), 0, 1, 1, {0xE00000, 0xE00000, 0xF00000}},
        {"the last line table wins", LinePicture({{"CTBL", ctbl}, {"BEAM", beam}}), 0, 1, 1, {0xF00000, 0x00F000, 0x0000F0}},
        {"CTBL after BEAM", LinePicture({{"BEAM", beam}, {"CTBL", ctbl}}), 0, 1, 1, {0xF0F0F0, 0xF0F0F0, 0xF0F0F0}},
        {"a CMAP beats a CMYK", LinePicture({{"CMYK", Bytes(8, 0)}}), 0, 1, 1, {0x123456, 0x123456, 0x123456}},
        {"BMHD and CMAP from the PROP", Group("LIST", "ILBM", {headerProp, Pixel(IlbmBuilder())}), 0, 1, 1, {0xA}},
        {"the nearer PROP", Group("LIST", "ILBM", {Prop(0xA), Group("LIST", "ILBM", {Prop(0xB), Pixel()})}), 0, 1, 1, {0xB}},
        {"the FORM's own CMAP", Group("LIST", "ILBM", {Prop(0xA), Pixel(0xC)}), 0, 1, 1, {0xC}},
        {"a PROP of another type", Group("LIST", "ILBM", {Prop(0xD, "PBM "), Pixel()}), 0, 1, 1, {0}},
        {"a CAT passes no PROP", Group("LIST", "ILBM", {Prop(0xA), Group("CAT ", "ILBM", {Pixel()})}), 0, 1, 1, {0}},
        {"past a sound", Group("CAT ", "    ", {sound, Pixel(0xE)}), 0, 1, 1, {0xE}},
        {"the second picture", Group("CAT ", "ILBM", {Pixel(1), Pixel(2)}), 1, 1, 2, {2}},
        {"no picture", Group("CAT ", "8SVX", {sound}), 0, 0, 0, {}},
    };
    for (const auto& c : cases) {
        PictureContext pic;
        pic.PictureIndex = c.index;
        ASSERT_EQ(pic.Load_IFF_From_Memory("case.iff", c.file), c.loaded) << c.name;
        EXPECT_EQ(pic.PictureCount, c.count) << c.name;
        for (size_t y = 0; y < c.rows.size(); ++y) EXPECT_EQ(pic.ColourAt(0, int32_t(y) + 1), c.rows[y]) << c.name << " row " << y;
    }
}

TEST(Family, MalformedFilesEndAsDecided) {
    Bytes nested = Pixel(), ihdr;
    for (int depth = 0; depth < 40; ++depth) nested = Group("CAT ", "ILBM", {nested});
    for (int v : {2, 2, 1, 3, 8, 0, 0}) Append(ihdr, Word(v));  // DYUV
    // The load's result, or the failure's number and a part of its text.
    const struct { const char* name; Bytes file; int outcome; const char* text; } cases[] = {
        {"DEEP without DGBL", IlbmBuilder().FormType("DEEP").Chunk("DBOD", {1, 2, 3}).Bytes(), 321, "without a DGBL chunk"},
        {"DEEP of YCM", DeepFile(2, 2, 0, {{5, 8}, {6, 8}, {7, 8}}, {}), 321, "element type 5 is not"},
        {"DEEP Huffman", DeepFile(2, 2, 2, kRgb, {}), 321, "compression 2 is not"},
        {"DEEP TVDC of 16 bits", DeepFile(2, 2, 5, {{1, 16}, {2, 16}, {3, 16}}, {}), 321, "16-bit elements"},
        {"DEEP past the budget", DeepFile(65535, 65535, 0, kRgb, {}), 7, "Out of memory"},
        {"RGBN past the budget", IlbmBuilder().FormType("RGBN").Bmhd(32767, 32767, 13, 4).Body({0, 0}).Bytes(), 7, "Out of memory"},
        {"IMAG of DYUV", IlbmBuilder().FormType("IMAG").Chunk("IHDR", ihdr).Bytes(), 321, "model 3 is not"},
        {"DEEP with a short DBOD", DeepFile(4, 2, 0, kRgb, {1, 2, 3, 4, 5}), 1, ""},
        {"CATs 41 deep", nested, 0, ""},
    };
    for (const auto& c : cases) {
        PictureContext pic;
        try {
            EXPECT_EQ(pic.Load_IFF_From_Memory("bad.iff", c.file), c.outcome) << c.name;
        } catch (const RunTimeError& failure) {
            EXPECT_EQ(failure.Number(), c.outcome) << c.name;
            EXPECT_NE(failure.Description().find(c.text), std::string::npos) << c.name << ": " << failure.Description();
        }
    }
}

TEST(Family, ConverterInfoListsEveryPicture) {
    std::string text;
    if (std::FILE* out = ::popen((std::string(PLANORA_CONVERT_PATH) + " --info " + Data("cat_deep_ilbm.iff")).c_str(), "r")) {
        for (int c; (c = std::fgetc(out)) != EOF;) text += char(c);
        EXPECT_EQ(::pclose(out), 0);
    }
    EXPECT_NE(text.find("Picture:  1 of 2 in a CAT\n\nFile: FAMILY_CAT_DEEP_ILBM\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Picture:  2 of 2 in a CAT\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace planora
