// Pictures of every depth, width, packing, mask and display mode (ordinary,
// Extra-Half-Brite, HAM5 to HAM8, CTBL line palettes, the CAMG before, after or
// without the BODY), decoded and compared pixel by pixel with a plain model of
// the format's rules written here, and in the BMP built from them. Every
// picture is decoded on two threads where the loader may and on one; large
// ones take the two-thread road, and both must give the same picture. Random
// ByteRun1 streams go through the BODY fuzz target's own byte-at-a-time check.
#include <gtest/gtest.h>

#include <array>
#include <random>

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
    int planes = 1;
    Packing packing = Packing::Raw;
    uint32_t mode = 0;  // the CAMG value
    CamgAt camg = CamgAt::BeforeBody;
    std::vector<uint16_t> ctbl = {};  // 16 words per line
    bool mask = false;
    std::vector<uint32_t> cmap = {};
    std::vector<uint8_t> file = {};
};

// Busy (noisy) and flat areas, so that ByteRun1 has runs of both kinds.
IndexPicture Pattern(int32_t width, int32_t height, int planes, uint32_t seed) {
    IndexPicture picture(width, height);
    std::mt19937 random(seed);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            picture.At(x, y) = uint8_t(((x / 9 + y / 7) % 3 == 0 ? random() : x / 5 + y) & ((1u << planes) - 1));
    return picture;
}

// secondBody: another picture's BODY comes first and is overwritten.
Case Make(std::string name, IndexPicture picture, int planes, Packing packing, uint32_t mode, CamgAt camg,
          std::vector<uint16_t> ctbl = {}, bool mask = false, bool secondBody = false) {
    Case c{name, std::move(picture), planes, packing, mode, camg, std::move(ctbl), mask};
    std::mt19937 random(uint32_t(c.picture.Width * 31 + planes));
    const size_t colours = mode & 0x800 ? (planes >= 7 ? 64 : 16) : mode & 0x80 ? 32 : size_t(1) << planes;
    for (size_t i = 0; i < colours; ++i) c.cmap.push_back(random() & 0xFFFFFF);
    IlbmBuilder file;
    file.Bmhd(c.picture.Width, c.picture.Height, planes, packing == Packing::ByteRun1, mask).Cmap(c.cmap);
    if (!c.ctbl.empty()) file.Ctbl(c.ctbl);
    if (camg == CamgAt::BeforeBody) file.Camg(mode);
    if (secondBody) file.Body(Pattern(c.picture.Width, c.picture.Height, planes, 7), {planes, packing, mask});
    file.Body(c.picture, {planes, packing, mask});
    if (camg == CamgAt::AfterBody) file.Camg(mode);
    c.file = file.Bytes();
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
                cases.push_back(Make("ordinary " + std::to_string(planes) + " planes, width " + std::to_string(width) +
                                         (packing == Packing::Raw ? " raw" : " ByteRun1"),
                                     Pattern(width, 1 + planes % 3, planes, uint32_t(planes * width)), planes, packing, 0,
                                     CamgAt((planes + width) % 3)));
    const auto add = [&](const char* name, int planes, uint32_t mode, CamgAt camg, std::vector<uint16_t> ctbl = {},
                         bool mask = false, Packing packing = Packing::ByteRun1, int32_t width = 37) {
        cases.push_back(Make(name, Pattern(width, width == 37 ? 6 : 1000, planes, 99), planes, packing, mode, camg,
                             std::move(ctbl), mask));
    };
    add("EHB", 6, 0x80, CamgAt::BeforeBody);
    add("EHB, CAMG after the BODY", 6, 0x80, CamgAt::AfterBody, {}, false, Packing::Raw);
    add("HAM6", 6, 0x800, CamgAt::BeforeBody);
    add("HAM6 interlaced, CAMG after the BODY", 6, 0x804, CamgAt::AfterBody);
    add("HAM8", 8, 0x800, CamgAt::BeforeBody, {}, false, Packing::Raw);
    add("HAM8, CAMG after the BODY", 8, 0x800, CamgAt::AfterBody);
    add("HAM5", 5, 0x800, CamgAt::BeforeBody);
    add("HAM7, CAMG after the BODY", 7, 0x800, CamgAt::AfterBody);
    add("CTBL, a line per row", 4, 0, CamgAt::BeforeBody, CtblWords(96));
    add("CTBL of 2 lines and a part line for 6 rows", 5, 0, CamgAt::BeforeBody, CtblWords(40), false, Packing::Raw);
    add("CTBL longer than the picture", 3, 0, CamgAt::BeforeBody, CtblWords(144));
    add("CTBL without CAMG", 5, 0, CamgAt::None, CtblWords(96));
    add("CTBL and HAM6", 6, 0x800, CamgAt::BeforeBody, CtblWords(64));
    add("CTBL and HAM8: no line palettes", 8, 0x800, CamgAt::BeforeBody, CtblWords(96));
    add("mask plane, raw", 3, 0, CamgAt::BeforeBody, {}, true, Packing::Raw);
    add("mask plane, ByteRun1", 8, 0, CamgAt::None, {}, true);
    // 1100 x 1000 is just over the million pixels from which rows are
    // converted and mapped on two threads.
    add("large, 8 planes", 8, 0, CamgAt::BeforeBody, {}, false, Packing::ByteRun1, 1100);
    add("large, 5 planes raw, no CAMG", 5, 0, CamgAt::None, {}, false, Packing::Raw, 1100);
    add("large HAM6", 6, 0x800, CamgAt::BeforeBody, {}, false, Packing::ByteRun1, 1100);
    add("large HAM8, CAMG after the BODY", 8, 0x800, CamgAt::AfterBody, {}, false, Packing::ByteRun1, 1100);
    add("large EHB", 6, 0x80, CamgAt::BeforeBody, {}, false, Packing::Raw, 1100);
    add("large, CTBL", 4, 0, CamgAt::BeforeBody, CtblWords(16000), false, Packing::Raw, 1100);
    add("large, CTBL without CAMG", 4, 0, CamgAt::None, CtblWords(16000), false, Packing::Raw, 1100);
    for (const int32_t width : {37, 1100})
        for (const uint32_t mode : {0u, 0x80u, 0x800u})
            cases.push_back(Make("second BODY, width " + std::to_string(width) + ", CAMG " + std::to_string(mode),
                                 Pattern(width, width == 37 ? 6 : 1000, 6, 5), 6, Packing::ByteRun1, mode,
                                 CamgAt::BeforeBody, {}, false, true));
    return cases;
}

// Loads on two threads and on one; both must give the same picture.
void LoadBothWays(const std::string& name, const std::vector<uint8_t>& file, PictureContext& together) {
    PictureContext oneByOne;
    oneByOne.AllowParallelDecode = false;
    ASSERT_EQ(together.Load_IFF_From_Memory("a.iff", file), 1) << name;
    ASSERT_EQ(oneByOne.Load_IFF_From_Memory("a.iff", file), 1) << name;
    EXPECT_TRUE(together.ColourImage == oneByOne.ColourImage) << name;
    EXPECT_TRUE(together.ChunkyImage == oneByOne.ChunkyImage) << name;
    EXPECT_EQ(together.Palette, oneByOne.Palette) << name;
}

TEST(Pictures, DecodeAsTheModel) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        PictureContext pic;
        LoadBothWays(c.name, c.file, pic);
        const int32_t width = c.picture.Width, height = c.picture.Height;
        const std::vector<uint32_t> expected = Model(c);
        // The column past the picture holds index 0 and is mapped like the rest.
        Case widened = c;
        widened.picture = IndexPicture(width + 1, height);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) widened.picture.At(x, y) = c.picture.At(x, y);
        const std::vector<uint32_t> spare = Model(widened);
        std::vector<uint8_t> bmpPixels;
        for (int32_t y = 0; y < height; ++y) {
            const auto row = expected.begin() + ptrdiff_t(y) * width;
            ASSERT_EQ(Row(pic, y + 1), std::vector<uint32_t>(row, row + width)) << "row " << y + 1;
            const auto pixels = c.picture.Pixels.begin() + ptrdiff_t(y) * width;
            ASSERT_EQ(Row<uint8_t>(pic, y + 1), std::vector<uint8_t>(pixels, pixels + width)) << "row " << y + 1;
            EXPECT_EQ(pic.ChunkyAt(width, y + 1), 0);  // the spare column
            ASSERT_EQ(pic.ColourAt(width, y + 1), spare[size_t(y) * size_t(width + 1) + size_t(width)]) << "row " << y + 1;
            // BMP rows run bottom-up, pixels as blue, green, red, 0.
            for (int32_t x = 0; x < width; ++x) {
                const uint32_t colour = expected[size_t(height - 1 - y) * size_t(width) + size_t(x)];
                bmpPixels.insert(bmpPixels.end(), {uint8_t(colour), uint8_t(colour >> 8), uint8_t(colour >> 16), 0});
            }
        }
        const std::vector<uint8_t> bmp = BuildBitmapFile(pic, width, height);
        ASSERT_EQ(bmp.size(), 54 + bmpPixels.size());
        EXPECT_TRUE(std::equal(bmpPixels.begin(), bmpPixels.end(), bmp.begin() + 54));
    }
}

// Pictures the model does not cover still come out the same on two threads.
TEST(Pictures, TwoThreadsAsOne) {
    std::vector<uint8_t> cut = Make("", Pattern(1100, 1000, 4, 5), 4, Packing::ByteRun1, 0, CamgAt::BeforeBody).file;
    cut.resize(cut.size() / 3);
    const std::vector<uint8_t> pchg =
        PchgData({false, 0, 1000}, {{10, {0x0F00, 0x1F0F}, {}, {}}, {700, {0x20F0}, {}, {}}});
    const IndexPicture picture = Pattern(1100, 1000, 4, 6);
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> files = {
        {"BODY cut short", cut},
        {"PCHG without CAMG", IlbmBuilder().Bmhd(1100, 1000, 4).Cmap({1, 2, 3, 4}).Pchg(pchg).Body(picture, {4}).Bytes()},
        {"second BODY", IlbmBuilder().Bmhd(1100, 1000, 4).Camg(0).Body(Pattern(1100, 1000, 4, 8), {4}).Body(picture, {4}).Bytes()},
    };
    for (const auto& [name, file] : files) {
        PictureContext pic;
        LoadBothWays(name, file, pic);
    }
}

TEST(ByteRun1, RandomStreamsDecodeByThePlainRules) {
    std::mt19937 random(12345);
    for (int i = 0; i < 400; ++i) {
        // Shape: width 1-400, height 1-8, 1-8 planes, a mask plane or not, packed (mostly) or raw.
        const uint32_t width = 1 + random() % 400, height = 1 + random() % 8, planes = 1 + random() % 8;
        std::vector<uint8_t> input = {uint8_t((width - 1) >> 8), uint8_t(width - 1), uint8_t(height - 1),
                                      uint8_t((planes - 1) | (random() % 3 == 0 ? 8 : 0) | (i % 8 == 0 ? 16 : 0))};
        // Literal and repeat runs, mostly short, some no-ops (128); the stream
        // runs out before or after the picture is complete.
        const size_t length = (width + 15) / 16 * 2 * height * (planes + 1) * (50 + random() % 100) / 100;
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
