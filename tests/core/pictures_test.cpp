// Pictures of every depth, width, packing, mask and display mode (ordinary,
// Extra-Half-Brite, HAM5 to HAM8, CTBL line palettes, the CAMG before, after or
// without the BODY), decoded and compared pixel by pixel with a plain model of
// the format's rules written here, and in the BMP built from them. Every
// picture is decoded on two threads where the loader may and on one; large
// ones take the two-thread road, and both must give the same picture. Random
// ByteRun1 streams go through the BODY fuzz target's own byte-at-a-time check.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <random>
#include <sstream>

#include "load_util.h"
#include "output/bmp_writer.h"

namespace planora::fuzz {
bool BodyDecodesAsReference(const uint8_t* data, size_t size);
}

namespace planora::test {
namespace {

enum class CamgAt { None, BeforeBody, AfterBody };

struct Case {
    std::string name;
    IndexPicture picture;
    int planes;
    uint32_t mode;               // the CAMG value
    std::vector<uint16_t> ctbl;  // 16 words per line
    std::vector<uint32_t> cmap = {};
    Buf file = {};
};

// Busy (noisy) and flat areas, so that ByteRun1 has runs of both kinds.
IndexPicture Pattern(int32_t w, int32_t h, int planes, uint32_t seed) {
    IndexPicture p(w, h);
    std::mt19937 random(seed);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) p.At(x, y) = uint8_t(((x / 9 + y / 7) % 3 == 0 ? random() : x / 5 + y) & ((1u << planes) - 1));
    return p;
}

// secondBody: another picture's BODY comes first and is overwritten.
Case Make(std::string name, IndexPicture picture, int planes, Packing packing, uint32_t mode, CamgAt camg,
          std::vector<uint16_t> ctbl = {}, bool mask = false, bool secondBody = false) {
    Case c{name, std::move(picture), planes, mode, std::move(ctbl)};
    const int32_t w = c.picture.Width, h = c.picture.Height;
    std::mt19937 random(uint32_t(w * 31 + planes));
    const size_t colours = mode & 0x800 ? (planes >= 7 ? 64 : 16) : mode & 0x80 ? 32 : size_t(1) << planes;
    for (size_t i = 0; i < colours; ++i) c.cmap.push_back(random() & 0xFFFFFF);
    IlbmBuilder f;
    f.Bmhd(w, h, planes, packing == Packing::ByteRun1, mask).Cmap(c.cmap);
    if (!c.ctbl.empty()) f.Ctbl(c.ctbl);
    if (camg == CamgAt::BeforeBody) f.Camg(mode);
    if (secondBody) f.Body(Pattern(w, h, planes, 7), {planes, packing, mask});
    f.Body(c.picture, {planes, packing, mask});
    if (camg == CamgAt::AfterBody) f.Camg(mode);
    c.file = f.Bytes();
    return c;
}

// CTBL words, some with bits in the unused top nibble.
std::vector<uint16_t> CtblWords(int count) {
    std::vector<uint16_t> words;
    for (int i = 0; i < count; ++i) words.push_back(uint16_t(i * 0x1D3 % 0x1000 | (i % 3) << 12));
    return words;
}

// The colours of every pixel, rows from the top, by the format's rules.
std::vector<uint32_t> Model(const Case& c) {
    // HAM5 and HAM7 are HAM6 and HAM8 with the top plane always 0.
    const bool ham = (c.mode & 0x800) && c.planes >= 5, wide = c.planes >= 7;
    const int valueBits = wide ? 6 : 4;
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < c.picture.Height; ++y) {
        std::array<uint32_t, 256> palette{};
        std::copy(c.cmap.begin(), c.cmap.end(), palette.begin());
        // Extra-Half-Brite: colours 32-63 are 0-31 at half brightness.
        for (int i = 0; (c.mode & 0x80) != 0 && i < 32; ++i) palette[size_t(32 + i)] = palette[size_t(i)] >> 1 & 0x7F7F7F;
        // CTBL: colours 0-15 from the row's line (0x0RGB words, each digit
        // the high nibble), black when the table has no line for the row.
        // HAM8 and HAM7 pictures keep their CMAP.
        for (size_t i = 0; !c.ctbl.empty() && !(ham && wide) && i < 16; ++i) {
            const uint16_t w = size_t(y) < c.ctbl.size() / 16 ? c.ctbl[size_t(y) * 16 + i] : 0;
            palette[i] = uint32_t(w & 0xF00) << 12 | uint32_t(w & 0x0F0) << 8 | uint32_t(w & 0x00F) << 4;
        }
        // HAM: the top two bits choose a palette colour (0) or keep the
        // colour to the left and set its blue (1), red (2) or green (3) from
        // the value bits: 4 bits doubled up, or 6 bits over the kept low 2.
        uint32_t colour = palette[0];
        for (int32_t x = 0; x < c.picture.Width; ++x) {
            const uint32_t index = c.picture.At(x, y), value = index & ((1u << valueBits) - 1);
            const uint32_t control = ham ? index >> valueBits : 0, shift = control == 2 ? 16 : control == 3 ? 8 : 0;
            const uint32_t old = colour >> shift & 0xFF, component = wide ? value << 2 | (old & 3) : value * 0x11;
            colour = control == 0 ? palette[ham ? value : index] : (colour & ~(0xFFu << shift)) | component << shift;
            out.push_back(colour);
        }
    }
    return out;
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (int planes = 1; planes <= 8; ++planes)
        for (int32_t width : {1, 9, 16, 17, 100, 320})
            for (Packing packing : {Packing::Raw, Packing::ByteRun1})
                cases.push_back(Make(std::to_string(planes) + " planes, width " + std::to_string(width),
                                     Pattern(width, 1 + planes % 3, planes, uint32_t(planes * width)), planes, packing, 0,
                                     CamgAt((planes + width) % 3)));
    std::ifstream table(PLANORA_TEST_DATA "/model_pictures.tsv");
    for (std::string line; std::getline(table, line);) {
        std::istringstream in(line);
        std::string name, at, packing;
        int planes = 0, ctbl = 0, mask = 0, w = 0, second = 0;
        uint32_t mode = 0;
        if (line[0] == '#' || !std::getline(in, name, '\t')) continue;
        in >> planes >> std::hex >> mode >> std::dec >> at >> ctbl >> mask >> packing >> w >> second;
        cases.push_back(Make(name, Pattern(w, w == 37 ? 6 : 1000, planes, 99), planes,
                             packing == "raw" ? Packing::Raw : Packing::ByteRun1, mode,
                             at == "none" ? CamgAt::None : at == "after" ? CamgAt::AfterBody : CamgAt::BeforeBody,
                             CtblWords(ctbl), mask, second));
    }
    EXPECT_EQ(cases.size(), 121u);
    return cases;
}

// Loads on two threads and on one; both must give the same picture.
void LoadBothWays(const Buf& file, PictureContext& two) {
    PictureContext one;
    one.AllowParallelDecode = false;
    ASSERT_EQ(two.Load_IFF_From_Memory("a.iff", file), 1);
    ASSERT_EQ(one.Load_IFF_From_Memory("a.iff", file), 1);
    EXPECT_TRUE(two.ColourImage == one.ColourImage);
    EXPECT_TRUE(two.ChunkyImage == one.ChunkyImage);
    EXPECT_EQ(two.Palette, one.Palette);
}

TEST(Pictures, DecodeAsTheModel) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        PictureContext pic;
        LoadBothWays(c.file, pic);
        const int32_t w = c.picture.Width, h = c.picture.Height;
        // The column past the picture holds index 0 and is mapped like the
        // rest, so the model runs on the picture one column wider.
        Case wide = c;
        wide.picture = IndexPicture(w + 1, h);
        for (int32_t i = 0; i < w * h; ++i) wide.picture.At(i % w, i / w) = c.picture.Pixels[size_t(i)];
        const std::vector<uint32_t> model = Model(wide);
        Buf bmp(54);  // rows bottom-up, pixels as blue, green, red, 0
        for (int32_t y = h; y >= 1; --y) {
            std::vector<uint32_t> colours;
            Buf chunky;
            for (int32_t x = 0; x <= w; ++x) colours.push_back(pic.ColourAt(x, y)), chunky.push_back(pic.ChunkyAt(x, y));
            const auto at = (y - 1) * (w + 1);
            ASSERT_EQ(colours, std::vector<uint32_t>(model.begin() + at, model.begin() + at + w + 1)) << y;
            ASSERT_EQ(chunky, Buf(wide.picture.Pixels.begin() + at, wide.picture.Pixels.begin() + at + w + 1)) << y;
            for (size_t x = 0; x < size_t(w); ++x) bmp.insert(bmp.end(), {uint8_t(colours[x]), uint8_t(colours[x] >> 8), uint8_t(colours[x] >> 16), 0});
        }
        const Buf written = BuildBitmapFile(pic, w, h);
        EXPECT_TRUE(std::equal(bmp.begin() + 54, bmp.end(), written.begin() + 54, written.end()));
    }
}

// Pictures the model does not cover still come out the same on two threads.
TEST(Pictures, TwoThreadsAsOne) {
    Buf cut = Make("", Pattern(1100, 1000, 4, 5), 4, Packing::ByteRun1, 0, CamgAt::BeforeBody).file;
    cut.resize(cut.size() / 3);
    const Buf pchg =
        PchgData({false, 0, 1000}, {{10, {0x0F00, 0x1F0F}, {}, {}}, {700, {0x20F0}, {}, {}}});
    const std::vector<std::pair<const char*, Buf>> files = {
        {"BODY cut short", cut},
        {"PCHG without CAMG", IlbmBuilder().Bmhd(1100, 1000, 4).Cmap({1, 2, 3, 4}).Pchg(pchg).Body(Pattern(1100, 1000, 4, 6), {4}).Bytes()},
    };
    for (const auto& [name, file] : files) {
        SCOPED_TRACE(name);
        PictureContext pic;
        LoadBothWays(file, pic);
    }
}

TEST(ByteRun1, RandomStreamsDecodeByThePlainRules) {
    std::mt19937 random(12345);
    for (int i = 0; i < 400; ++i) {
        // Shape: width 1-400, height 1-8, 1-8 planes, a mask plane or not, packed (mostly) or raw.
        const uint32_t w = 1 + random() % 400, h = 1 + random() % 8, planes = 1 + random() % 8;
        Buf input = {uint8_t((w - 1) >> 8), uint8_t(w - 1), uint8_t(h - 1),
                     uint8_t((planes - 1) | (random() % 3 == 0 ? 8 : 0) | (i % 8 == 0 ? 16 : 0))};
        // Literal and repeat runs, mostly short, some no-ops (128); the stream
        // runs out before or after the picture is complete.
        const size_t length = (w + 15) / 16 * 2 * h * (planes + 1) * (50 + random() % 100) / 100;
        while (input.size() < 4 + length) {
            const uint32_t kind = random() % 10, run = kind < 7 ? 1 + random() % 20 : 1 + random() % 128;
            if (kind == 9) input.push_back(0x80);
            else if (kind % 2 == 0) input.push_back(uint8_t(run - 1));
            else input.insert(input.end(), {uint8_t(257 - std::max<uint32_t>(run, 2)), uint8_t(random())});
            for (uint32_t b = 0; kind % 2 == 0 && b < run; ++b) input.push_back(uint8_t(random()));
        }
        ASSERT_TRUE(fuzz::BodyDecodesAsReference(input.data(), input.size())) << "stream " << i;
    }
}

}  // namespace
}  // namespace planora::test
