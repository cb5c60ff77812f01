// The rest of the IFF picture family: RGB8, RGBN, FORM DEEP, FORM IMAG, CMYK,
// HAM5/HAM7, BEAM/RAST, CAT/LIST/PROP. Real files against the renderings of
// the peer that reads them, generated pictures against ilbmtoppm and ffmpeg
// and against the values they were generated from, hand-worked line palettes
// and containers, malformed files with their exact outcome, and a truncation
// and byte-flip sweep over one file of each kind.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora {
namespace {
using test::IlbmBuilder;
using Bytes = std::vector<uint8_t>;
std::string Data(const std::string& name) { return std::string(PLANORA_TEST_DATA) + "/" + name; }
std::mt19937 rng(14);

// Pixels that differ from the expected RGBA (alpha 255 where the picture has none).
int64_t Differences(const PictureContext& pic, int32_t width, int32_t height, const std::vector<uint32_t>& rgba) {
    if (pic.IlbmInfo.Width != width || pic.IlbmInfo.Height != height) return -1;
    int64_t count = 0;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            count += ((pic.ColourAt(x, y + 1) << 8) | pic.AlphaAt(x, y + 1)) != rgba[size_t(y * width + x)];
    return count;
}

std::vector<uint32_t> ReadPam(const std::string& path, int32_t& width, int32_t& height) {
    std::ifstream in(path, std::ios::binary);
    std::string word;
    while (in >> word && word != "ENDHDR") {
        if (word == "WIDTH") in >> width;
        if (word == "HEIGHT") in >> height;
    }
    in.get();
    std::vector<uint32_t> rgba(size_t(width) * size_t(height));
    for (uint32_t& p : rgba)
        for (int c = 0; c < 4; ++c) p = (p << 8) | uint8_t(in.get());
    return rgba;
}

TEST(Family, CorpusFilesMatchThePeerRendering) {
    for (const char* name : {"ham5", "rgb8_testcard", "deep_rgba8", "cmyk_testcard", "cat_deep_ilbm", "imag_clut7"}) {
        SCOPED_TRACE(name);
        int32_t width = 0, height = 0;
        const auto expected = ReadPam(Data(std::string("family_") + name + ".pam"), width, height);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(Data(std::string("family_") + name + ".iff")), 1);
        EXPECT_EQ(Differences(pic, width, height, expected), 0);
    }
}

TEST(Family, DeepRunLengthFileMatchesFfmpeg) {
    if (!test::HaveTool("ffmpeg")) GTEST_SKIP() << "ffmpeg is not installed";
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(Data("family_arch_rle.deep")), 1);
    const test::RgbPicture peer = test::DecodeWithFfmpeg(Data("family_arch_rle.deep"), 800, 600);
    int64_t differ = peer.Width == 800 ? 0 : -1;
    for (int32_t y = 0; y < peer.Height; ++y)
        for (int32_t x = 0; x < peer.Width; ++x) differ += pic.ColourAt(x, y + 1) != peer.At(x, y);
    EXPECT_EQ(differ, 0);
}

Bytes Word(uint32_t v) { return {uint8_t(v >> 8), uint8_t(v)}; }
void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

// RGB8 and RGBN: runs of random colours and lengths (crossing rows, using the
// byte and word counts), against the runs as generated and against the peers.
TEST(Family, RunOfColourPicturesMatchTheirRunsAndThePeers) {
    for (const bool rgbn : {true, false}) {
        const int32_t width = 37, height = 23;
        Bytes body;
        std::vector<uint32_t> expected;
        while (expected.size() < size_t(width * height)) {
            const uint32_t count = std::uniform_int_distribution<uint32_t>(1, 300)(rng), c = rng();
            const bool genlock = rng() % 5 == 0;
            const uint32_t r = c >> 20 & 0xF, g = c >> 12 & 0xF, b = c >> 4 & 0xF;
            const uint32_t colour = rgbn ? r << 20 | g << 12 | b << 4 : c & 0xFFFFFF;
            const uint32_t inlineCount = count <= (rgbn ? 7u : 127u) ? count : 0;
            if (rgbn)
                Append(body, Word(r << 12 | g << 8 | b << 4 | uint32_t(genlock) << 3 | inlineCount));
            else
                Append(body, {uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), uint8_t(genlock << 7 | inlineCount)});
            if (!inlineCount && count < 256) body.push_back(uint8_t(count));
            if (!inlineCount && count >= 256) body.push_back(0), Append(body, Word(count));
            for (uint32_t i = 0; i < count; ++i) expected.push_back(colour << 8 | (genlock ? 0 : 255));
        }
        expected.resize(size_t(width * height));
        test::TempDir dir;
        const std::string path = dir.File("run.iff");
        IlbmBuilder().FormType(rgbn ? "RGBN" : "RGB8").Bmhd(width, height, rgbn ? 13 : 25, 4).Body(body).WriteTo(path);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(path), 1);
        EXPECT_EQ(Differences(pic, width, height, expected), 0) << (rgbn ? "RGBN" : "RGB8");
        for (const std::string tool : {"ilbmtoppm", "ffmpeg"}) {
            if (!test::HaveTool(tool)) continue;
            // ilbmtoppm writes RGBN with maxval 15, which pamdepth widens by 17, not 16.
            const bool widened = tool == "ffmpeg" || test::Run("ilbmtoppm " + path + " | pamdepth 255 >" + path + ".ppm", path + ".log");
            const test::RgbPicture peer = tool == "ffmpeg" ? test::DecodeWithFfmpeg(path, width, height) : test::ReadPpm(path + ".ppm");
            ASSERT_TRUE(widened);
            ASSERT_EQ(peer.Width, width) << tool;
            for (int32_t i = 0; i < width * height; ++i)
                ASSERT_EQ(peer.At(i % width, i / width), rgbn && tool != "ffmpeg" ? (expected[size_t(i)] >> 12 & 0x0F0F0F) * 17
                                                                                     : expected[size_t(i)] >> 8) << tool << " pixel " << i;
        }
    }
}

Bytes DeepFile(int32_t width, int32_t height, int compression, const std::vector<std::pair<int, int>>& elements,
               const Bytes& body, const Bytes& tvdc = {}) {
    Bytes dgbl = Word(width), dpel = {0, 0, 0, uint8_t(elements.size())};
    Append(dgbl, Word(height)), Append(dgbl, Word(compression)), Append(dgbl, {1, 1});
    for (auto [type, bits] : elements) Append(dpel, Word(type)), Append(dpel, Word(bits));
    IlbmBuilder file = IlbmBuilder().FormType("DEEP").Chunk("DGBL", dgbl).Chunk("DPEL", dpel);
    if (!tvdc.empty()) file.Chunk("TVDC", tvdc);
    return file.Chunk("DBOD", body).Bytes();
}

// FORM DEEP RGBA in compressions 0, 1 and 5: every element a random walk from
// 0 along each row by TVDC steps, with repeats; against the walk and ffmpeg.
TEST(Family, DeepCompressionsGiveTheirPixels) {
    const int32_t width = 29, height = 13;
    const int8_t steps[16] = {0, 1, -1, 2, -2, 4, -4, 8, -8, 16, -16, 32, -32, 64, -64, 127};
    Bytes pixels(size_t(width * height * 4)), tvdc;
    for (int8_t s : steps) Append(tvdc, Word(uint16_t(int16_t(s))));
    for (int32_t y = 0; y < height; ++y)
        for (int e = 0; e < 4; ++e)
            for (int32_t x = 0, v = 0; x < width; ++x)
                pixels[size_t((y * width + x) * 4 + e)] = uint8_t(v += steps[rng() % 3 ? 0 : rng() % 16]);
    const auto pixel = [&](int32_t i) { return Bytes(&pixels[size_t(i) * 4], &pixels[size_t(i) * 4 + 4]); };
    Bytes runLength, delta;
    // Runs stop at row ends: ffmpeg reads literal runs across them wrongly.
    for (int32_t i = 0, n = width; i < width * height; n = (i / width + 1) * width) {
        int32_t run = 1;
        while (i + run < n && run < 128 && pixel(i + run) == pixel(i)) ++run;
        int32_t literal = run > 1 ? 0 : 1;
        while (run == 1 && i + literal < n && literal < 128 && pixel(i + literal) != pixel(i + literal - 1)) ++literal;
        runLength.push_back(uint8_t(run > 1 ? 1 - run : literal - 1));
        for (int32_t k = 0; k < (run > 1 ? 1 : literal); ++k) Append(runLength, pixel(i + k));
        i += run > 1 ? run : literal;
    }
    for (int32_t y = 0; y < height; ++y)
        for (int e = 0; e < 4; ++e) {
            std::vector<uint8_t> codes;
            for (int32_t x = 0, prev = 0; x < width;) {
                const uint8_t v = pixels[size_t((y * width + x) * 4 + e)];
                int32_t repeat = 0;
                while (x + repeat < width && repeat < 16 && pixels[size_t((y * width + x + repeat) * 4 + e)] == prev) ++repeat;
                if (repeat) codes.push_back(0), codes.push_back(uint8_t(repeat - 1)), x += repeat;
                else codes.push_back(uint8_t(std::find(steps, steps + 16, int8_t(v - prev)) - steps)), prev = v, ++x;
            }
            for (size_t k = 0; k < codes.size(); k += 2) delta.push_back(uint8_t(codes[k] << 4 | (k + 1 < codes.size() ? codes[k + 1] : 0)));
        }
    std::vector<uint32_t> expected;
    for (int32_t i = 0; i < width * height; ++i) expected.push_back(pixel(i)[0] << 24 | pixel(i)[1] << 16 | pixel(i)[2] << 8 | pixel(i)[3]);
    const std::vector<std::pair<int, int>> rgba = {{1, 8}, {2, 8}, {3, 8}, {4, 8}};
    const std::pair<int, Bytes> cases[] = {{0, pixels}, {1, runLength}, {5, delta}};
    for (const auto& [compression, body] : cases) {
        SCOPED_TRACE(compression);
        test::TempDir dir;
        test::WriteBytes(dir.File("deep.iff"), DeepFile(width, height, compression, rgba, body, tvdc));
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(dir.File("deep.iff")), 1);
        EXPECT_EQ(Differences(pic, width, height, expected), 0);
        if (!test::HaveTool("ffmpeg")) continue;
        const test::RgbPicture peer = test::DecodeWithFfmpeg(dir.File("deep.iff"), width, height);
        for (int32_t i = 0; i < width * height && peer.Width == width; ++i) ASSERT_EQ(peer.At(i % width, i / width), expected[size_t(i)] >> 8);
    }
}

// HAM5 and HAM7 by the display's rule: the missing top plane reads 0, so only
// base colours and "modify blue" steps occur (4-bit value times 17, or 6-bit
// value into the top of blue, its two low bits kept).
TEST(Family, HamWithFiveAndSevenPlanesFollowsTheDisplay) {
    for (const int planes : {5, 7}) {
        const int32_t width = 45, height = 9, bases = planes == 5 ? 16 : 64;
        test::IndexPicture picture(width, height);
        std::vector<uint32_t> cmap(static_cast<size_t>(bases)), expected;
        for (uint32_t& c : cmap) c = rng() & 0xFFFFFF;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0, held = int32_t(cmap[0]); x < width; ++x) {
                const int32_t p = picture.At(x, y) = uint8_t(rng() % (1u << planes));
                held = p < bases ? int32_t(cmap[size_t(p)])
                                 : planes == 5 ? (held & 0xFFFF00) | (p & 15) * 0x11 : (held & 0xFFFF03) | (p & 63) << 2;
                expected.push_back(uint32_t(held) << 8 | 255);
            }
        PictureContext pic;
        const Bytes file = IlbmBuilder().Bmhd(width, height, planes, 1).Cmap(cmap).Camg(0x800)
                               .Body(picture, {.Planes = planes, .Compression = test::Packing::ByteRun1}).Bytes();
        ASSERT_EQ(pic.Load_IFF_From_Memory("ham.iff", file), 1);
        EXPECT_EQ(Differences(pic, width, height, expected), 0) << planes;
    }
}

// One plane, one column, three rows of colour 1; CMAP colour 1 is 0x123456.
IlbmBuilder LinePicture() { return IlbmBuilder().Bmhd(1, 3, 1).Cmap({0, 0x123456}); }
Bytes WithBody(IlbmBuilder file) { return file.Body(test::IndexPicture(1, 3, 1), {.Planes = 1}).Bytes(); }
Bytes Lines(int words, std::vector<uint16_t> colour1) {  // colour 1 of each line, the rest 0
    Bytes data;
    for (uint16_t c : colour1)
        for (int w = 0; w < words; ++w) Append(data, Word(w == 1 ? c : 0));
    return data;
}
Bytes RasterEntry(uint16_t line, uint16_t colour1) { Bytes e = Word(line); Append(e, Lines(16, {colour1})); return e; }

TEST(Family, LinePalettesAndTheirPrecedence) {
    Bytes rast = RasterEntry(2, 0x0F00);
    Append(rast, RasterEntry(0, 0x0700));  // ST red 7 is STE 14, then times 16
    const Bytes beam = Lines(2, {0x0F00, 0x00F0, 0x000F}), ctbl = Lines(16, {0x0FFF, 0x0FFF, 0x0FFF});
    const Bytes cmyk = {0, 0, 0, 0, 0, 0, 0, 0};  // would make colour 1 white
    const struct { const char* name; Bytes file; std::vector<uint32_t> rows; } cases[] = {
        {"BEAM widens by 16", WithBody(LinePicture().Chunk("BEAM", beam)), {0xF00000, 0x00F000, 0x0000F0}},
        {"RAST holds down to the next entry", WithBody(LinePicture().Chunk("RAST", rast)), {0xE00000, 0xE00000, 0xF00000}},
        {"the last line table wins", WithBody(LinePicture().Chunk("CTBL", ctbl).Chunk("BEAM", beam)), {0xF00000, 0x00F000, 0x0000F0}},
        {"CTBL after BEAM", WithBody(LinePicture().Chunk("BEAM", beam).Chunk("CTBL", ctbl)), {0xF0F0F0, 0xF0F0F0, 0xF0F0F0}},
        {"a CMAP beats a CMYK", WithBody(LinePicture().Chunk("CMYK", cmyk)), {0x123456, 0x123456, 0x123456}},
    };
    for (const auto& c : cases) {
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory("lines.iff", c.file), 1) << c.name;
        for (int32_t y = 0; y < 3; ++y) EXPECT_EQ(pic.ColourAt(0, y + 1), c.rows[size_t(y)]) << c.name << " row " << y;
    }
}

Bytes Group(const char* id, const char* type, const std::vector<Bytes>& parts) {
    IlbmBuilder group = IlbmBuilder().FormId(id).FormType(type);
    for (const Bytes& part : parts) group.Raw(part);
    return group.Bytes();
}
Bytes Prop(uint32_t colour1) { return IlbmBuilder().FormId("PROP").Cmap({0, colour1}).Bytes(); }
Bytes Pixel(IlbmBuilder form = IlbmBuilder()) { return form.Bmhd(1, 1, 1).Body(test::IndexPicture(1, 1, 1), {.Planes = 1}).Bytes(); }
Bytes PixelBodyOnly() { return IlbmBuilder().Body(test::IndexPicture(1, 1, 1), {.Planes = 1}).Bytes(); }

TEST(Family, ContainersGiveTheChosenPictureWithItsProps) {
    const Bytes headerProp = IlbmBuilder().FormId("PROP").Bmhd(1, 1, 1).Cmap({0, 0xA}).Bytes();
    const Bytes sound = IlbmBuilder().FormType("8SVX").Chunk("VHDR", Bytes(20, 0)).Bytes();
    const Bytes otherType = IlbmBuilder().FormId("PROP").FormType("PBM ").Cmap({0, 0xD}).Bytes();
    const struct { const char* name; Bytes file; int32_t index, loaded, count; uint32_t colour; } cases[] = {
        {"BMHD and CMAP from the PROP", Group("LIST", "ILBM", {headerProp, PixelBodyOnly()}), 0, 1, 1, 0xA},
        {"the nearer PROP", Group("LIST", "ILBM", {Prop(0xA), Group("LIST", "ILBM", {Prop(0xB), Pixel()})}), 0, 1, 1, 0xB},
        {"the FORM's own CMAP", Group("LIST", "ILBM", {Prop(0xA), Pixel(IlbmBuilder().Cmap({0, 0xC}))}), 0, 1, 1, 0xC},
        {"a PROP of another type", Group("LIST", "ILBM", {otherType, Pixel()}), 0, 1, 1, 0},
        {"past a sound", Group("CAT ", "    ", {sound, Pixel(IlbmBuilder().Cmap({0, 0xE}))}), 0, 1, 1, 0xE},
        {"the second picture", Group("CAT ", "ILBM", {Pixel(IlbmBuilder().Cmap({0, 1})), Pixel(IlbmBuilder().Cmap({0, 2}))}), 1, 1, 2, 2},
        {"no picture", Group("CAT ", "8SVX", {sound}), 0, 0, 0, 0},
        {"a CAT passes no PROP", Group("LIST", "ILBM", {Prop(0xA), Group("CAT ", "ILBM", {Pixel()})}), 0, 1, 1, 0},
    };
    for (const auto& c : cases) {
        PictureContext pic;
        pic.PictureIndex = c.index;
        ASSERT_EQ(pic.Load_IFF_From_Memory("group.iff", c.file), c.loaded) << c.name;
        EXPECT_EQ(pic.PictureCount, c.count) << c.name;
        if (c.loaded) {
            EXPECT_EQ(pic.ColourAt(0, 1), c.colour) << c.name;
        }
    }
}

Bytes Imag(int model) {
    Bytes ihdr = Word(2);
    for (int v : {2, 1, model, 8, 0, 0}) Append(ihdr, Word(v));
    return IlbmBuilder().FormType("IMAG").Chunk("IHDR", ihdr).Chunk("PLTE", {0, 0, 0, 1, 9, 9, 9}).Chunk("IDAT", {0, 0}).Bytes();
}
const std::vector<std::pair<int, int>> kRgb = {{1, 8}, {2, 8}, {3, 8}};

TEST(Family, MalformedFilesEndAsDecided) {
    Bytes nested = Pixel();
    for (int depth = 0; depth < 40; ++depth) nested = Group("CAT ", "ILBM", {nested});
    const Bytes negative = IlbmBuilder().FormId("PROP").FormType("TEST").ChunkWithLength("HELO", 0xF0000000, {1, 2}).Bytes();
    const struct { const char* name; Bytes file; int16_t loaded; int error; const char* text; } cases[] = {
        {"DEEP without DGBL", IlbmBuilder().FormType("DEEP").Chunk("DBOD", {1, 2, 3}).Bytes(), 0, 321, "without a DGBL chunk"},
        {"DEEP of YCM", DeepFile(2, 2, 0, {{5, 8}, {6, 8}, {7, 8}}, {}), 0, 321, "element type 5 is not"},
        {"DEEP of 12-bit", DeepFile(2, 2, 0, {{1, 12}, {2, 12}, {3, 12}}, {}), 0, 321, "element depth 12 is not"},
        {"DEEP twice red", DeepFile(2, 2, 0, {{1, 8}, {1, 8}, {3, 8}}, {}), 0, 321, "layout of 3 elements"},
        {"DEEP Huffman", DeepFile(2, 2, 2, kRgb, {}), 0, 321, "compression 2 is not"},
        {"DEEP TVDC of 16 bits", DeepFile(2, 2, 5, {{1, 16}, {2, 16}, {3, 16}}, {}), 0, 321, "16-bit elements"},
        {"DEEP past the budget", DeepFile(65535, 65535, 0, kRgb, {}), 0, 7, "Out of memory"},
        {"RGBN past the budget", IlbmBuilder().FormType("RGBN").Bmhd(32767, 32767, 13, 4).Body({0, 0}).Bytes(), 0, 7, "Out of memory"},
        {"IMAG of DYUV", Imag(3), 0, 321, "model 3 is not"},
        {"IMAG of CLUT8", Imag(4), 1, 0, ""},
        {"DEEP with a short DBOD", DeepFile(4, 2, 0, kRgb, {1, 2, 3, 4, 5}), 1, 0, ""},
        {"CATs 41 deep", nested, 0, 0, ""},
        {"a PROP chunk past the file", Group("LIST", "TEST", {negative}), 0, 0, ""},
    };
    for (const auto& c : cases) {
        PictureContext pic;
        try {
            EXPECT_EQ(pic.Load_IFF_From_Memory("bad.iff", c.file), c.loaded) << c.name;
            EXPECT_EQ(c.error, 0) << c.name;
        } catch (const RunTimeError& failure) {
            EXPECT_EQ(failure.Number(), c.error) << c.name;
            EXPECT_NE(failure.Description().find(c.text), std::string::npos) << c.name << ": " << failure.Description();
        }
    }
}

// Every truncation and every single inverted byte of one small file of each
// new kind loads or fails with a RunTimeError, and nothing else.
TEST(Family, TruncatedAndFlippedFilesFailCleanly) {
    Bytes tvdc(32, 0);
    tvdc[3] = 1, tvdc[5] = 0xFF;
    const Bytes files[] = {
        IlbmBuilder().FormType("RGBN").Bmhd(5, 3, 13, 4).Body({0x12, 0x30, 0x45, 0x60, 7, 0, 0, 0x10, 0xAB, 0xC1}).Bytes(),
        IlbmBuilder().FormType("RGB8").Bmhd(5, 3, 25, 4).Body({1, 2, 3, 0x84, 4, 5, 6, 0, 11}).Bytes(),
        DeepFile(5, 3, 1, {{17, 8}, {1, 8}, {2, 8}, {3, 8}}, {0x81, 1, 2, 3, 4, 2, 5, 6, 7, 8, 9, 1, 2, 3}),
        DeepFile(5, 3, 5, {{1, 8}, {2, 8}, {3, 8}, {4, 8}}, {0x12, 0x10, 0x21, 0x22, 0x01, 0x13, 0x02}, tvdc),
        Imag(5), Group("LIST", "ILBM", {Prop(0xA), Group("LIST", "ILBM", {Prop(0xB), Pixel()})}),
        WithBody(LinePicture().Chunk("BEAM", Lines(2, {1, 2, 3}))), WithBody(LinePicture().Chunk("RAST", RasterEntry(1, 7))),
    };
    int64_t loads = 0;
    for (const Bytes& file : files) {
        for (size_t n = 0; n <= 2 * file.size(); ++n) {
            Bytes bytes = n <= file.size() ? Bytes(file.begin(), file.begin() + std::ptrdiff_t(n)) : file;
            if (n > file.size()) bytes[n - file.size() - 1] ^= 0xFF;
            PictureContext pic;
            pic.ImageByteBudget = 1 << 20;
            try {
                loads += pic.Load_IFF_From_Memory("sweep.iff", bytes);
            } catch (const RunTimeError&) {
            }
        }
    }
    EXPECT_GT(loads, 0);
}

TEST(Family, ConverterInfoListsEveryPicture) {
    std::string text;
    if (std::FILE* out = ::popen((std::string(PLANORA_CONVERT_PATH) + " --info " + Data("family_cat_deep_ilbm.iff")).c_str(), "r")) {
        for (int c; (c = std::fgetc(out)) != EOF;) text += char(c);
        EXPECT_EQ(::pclose(out), 0);
    }
    EXPECT_NE(text.find("Picture:  1 of 2 in a CAT\n\nFile: FAMILY_CAT_DEEP_ILBM\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Picture:  2 of 2 in a CAT\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace planora
