// The CMAP, CAMG and CTBL handlers and the colour tables they fill.
#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "load_util.h"

namespace planora {
namespace {

using test::IlbmBuilder;
using test::IndexPicture;

// CMAP data bytes 1, 2, 3, ... (mod 256), so entry i is (3i+1, 3i+2, 3i+3).
std::vector<uint8_t> CountingBytes(size_t n) {
    std::vector<uint8_t> d(n);
    for (size_t k = 0; k < n; ++k) d[k] = uint8_t(k + 1);
    return d;
}

uint32_t CountingEntry(size_t i) {
    return MakeRGB24(uint8_t(3 * i + 1), uint8_t(3 * i + 2), uint8_t(3 * i + 3));
}

// Loads an 8-plane picture whose CMAP sets every entry to 0x5A5A5A first, so
// that entries a later CMAP leaves alone are recognisable.
void Prime(PictureContext& pic) {
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 8).Cmap(std::vector<uint32_t>(256, 0x5A5A5A))), 1);
}

TEST(Cmap, EntryCountFollowsTheLength) {
    // An "ANNO" chunk follows the CMAP, so a last entry that reaches past the
    // data takes its missing bytes from that identifier ('A' = 0x41, 'N' = 0x4E).
    struct Case { size_t length; std::vector<uint32_t> entries; };
    const Case cases[] = {
        {96, {}},  // filled below: 32 counting entries
        {48, {}},
        {8, {CountingEntry(0), CountingEntry(1), MakeRGB24(7, 8, 0x41)}},
        {7, {CountingEntry(0), CountingEntry(1)}},
        {2, {MakeRGB24(1, 2, 0x41)}},
        {1, {}},
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> expected = c.entries;
        if (c.length == 96 || c.length == 48)
            for (size_t i = 0; i < c.length / 3; ++i) expected.push_back(CountingEntry(i));
        PictureContext pic;
        Prime(pic);
        // Odd lengths get a zero pad byte before ANNO: the 7-byte case never reads it.
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 8).Chunk("CMAP", CountingBytes(c.length)).Chunk("ANNO", {})), 1);
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(pic.Palette[i], expected[i]) << c.length << " bytes, entry " << i;
            EXPECT_EQ(pic.FilePalette[i], expected[i]) << c.length << " bytes, entry " << i;
        }
        EXPECT_EQ(pic.Palette[expected.size()], 0x5A5A5Au) << c.length << " bytes: first entry not set";
        EXPECT_EQ(pic.Palette[255], 0x5A5A5Au);
    }
}

TEST(Cmap, HalfBriteTableHalvesEachComponent) {
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 5).Cmap({MakeRGB24(255, 128, 1), MakeRGB24(3, 254, 100)})), 1);
    EXPECT_EQ(pic.HalfBritePalette[0], MakeRGB24(127, 64, 0));
    EXPECT_EQ(pic.HalfBritePalette[1], MakeRGB24(1, 127, 50));
    // Without CAMG 0x80 the halved colours stay out of the palette.
    EXPECT_EQ(pic.Palette[32], 0u);
}

TEST(Cmap, ExtraHalfBriteInEitherChunkOrder) {
    std::vector<uint32_t> colours(32);
    for (size_t i = 0; i < 32; ++i) colours[i] = MakeRGB24(uint8_t(255 - i), uint8_t(8 * i + 1), uint8_t(i * 3));
    colours[0] = MakeRGB24(255, 128, 1);
    // A 64-entry CMAP too: its upper 32 colours are replaced by the halved ones.
    std::vector<uint32_t> sixtyFour = colours;
    sixtyFour.resize(64, 0x123456);
    struct Case { const char* name; IlbmBuilder file; };
    std::vector<Case> cases;
    cases.push_back({"CMAP then CAMG", IlbmBuilder().Bmhd(1, 1, 6).Cmap(colours).Camg(0x80)});
    cases.push_back({"CAMG then CMAP", IlbmBuilder().Bmhd(1, 1, 6).Camg(0x80).Cmap(colours)});
    cases.push_back({"64 colours, CMAP then CAMG", IlbmBuilder().Bmhd(1, 1, 6).Cmap(sixtyFour).Camg(0x80)});
    cases.push_back({"64 colours, CAMG then CMAP", IlbmBuilder().Bmhd(1, 1, 6).Camg(0x80).Cmap(sixtyFour)});
    for (Case& c : cases) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, c.file), 1) << c.name;
        EXPECT_EQ(pic.IlbmInfo.HalfBriteFlag, 1) << c.name;
        EXPECT_EQ(pic.Palette[32], MakeRGB24(127, 64, 0)) << c.name;
        for (size_t i = 0; i < 32; ++i) {
            const uint32_t c0 = colours[i];
            const uint32_t half = MakeRGB24(((c0 >> 16) & 0xFF) / 2, ((c0 >> 8) & 0xFF) / 2, (c0 & 0xFF) / 2);
            EXPECT_EQ(pic.Palette[i], c0) << c.name << " " << i;
            EXPECT_EQ(pic.Palette[32 + i], half) << c.name << " " << i;
            EXPECT_EQ(pic.FilePalette[32 + i], half) << c.name << " " << i;
        }
    }
}

TEST(Camg, ModeFlagsAndDisplayMode) {
    struct Case { uint32_t mode; int planes; int16_t interlace, halfBrite, ham, displayMode; };
    const Case cases[] = {
        {0x804, 6, 1, 0, 1, 2},
        {0x804, 5, 1, 0, 1, 1},
        {0x800, 8, 0, 0, 1, 3},
        {0x800, 7, 0, 0, 1, 1},
        {0x000, 8, 0, 0, 0, 1},
        {0x8000, 4, 0, 0, 0, 1},  // high resolution changes nothing
        {0x880, 6, 0, 1, 1, 2},
        {0x004, 2, 1, 0, 0, 1},
        {0x7FFFF7FF, 6, 1, 1, 0, 1},  // every bit but HAM
    };
    for (const Case& c : cases) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, c.planes).Camg(c.mode)), 1);
        const IlbmInfoRecord& i = pic.IlbmInfo;
        EXPECT_EQ(i.ModeID, int32_t(c.mode)) << std::hex << c.mode;
        EXPECT_EQ(i.InterlaceFlag, c.interlace) << std::hex << c.mode;
        EXPECT_EQ(i.HalfBriteFlag, c.halfBrite) << std::hex << c.mode;
        EXPECT_EQ(i.HamFlag, c.ham) << std::hex << c.mode;
        EXPECT_EQ(i.DisplayMode, c.displayMode) << std::hex << c.mode << " planes " << c.planes;
    }
}

TEST(Camg, LaterChunkSetsModeAnewButKeepsFlags) {
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 6).Camg(0x884).Camg(0x0)), 1);
    EXPECT_EQ(pic.IlbmInfo.ModeID, 0);
    EXPECT_EQ(pic.IlbmInfo.DisplayMode, 1);
    EXPECT_EQ(pic.IlbmInfo.HamFlag, 1);
    EXPECT_EQ(pic.IlbmInfo.HalfBriteFlag, 1);
    EXPECT_EQ(pic.IlbmInfo.InterlaceFlag, 1);
}

TEST(Camg, BmhdResetsTheModeOfTheLastPicture) {
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 6).Camg(0x884).Ctbl(std::vector<uint16_t>(16, 0))), 1);
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 6)), 1);
    const IlbmInfoRecord& i = pic.IlbmInfo;
    EXPECT_EQ(i.ModeID, 0);
    EXPECT_EQ(i.HamFlag + i.HalfBriteFlag + i.InterlaceFlag + i.DynamicPaletteFlag, 0);
}

TEST(Camg, HamTables) {
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 6).Camg(0x800)), 1);
    EXPECT_EQ(pic.HamControl[0x0F], 0u);
    EXPECT_EQ(pic.HamControl[0x15], 1u);
    EXPECT_EQ(pic.HamControl[0x21], 2u);
    EXPECT_EQ(pic.HamControl[0x3F], 3u);
    EXPECT_EQ(pic.HamBlue[0x15], 0x55u);
    EXPECT_EQ(pic.HamGreen[0x3F], 0xFF00u);
    EXPECT_EQ(pic.HamRed[0x21], 0x110000u);
    EXPECT_EQ(pic.HamRed[0x2A], 0xAA0000u);

    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 8).Camg(0x800)), 1);
    EXPECT_EQ(pic.HamControl[0x3F], 0u);
    EXPECT_EQ(pic.HamControl[0x41], 1u);
    EXPECT_EQ(pic.HamControl[0x80], 2u);
    EXPECT_EQ(pic.HamControl[0xFF], 3u);
    EXPECT_EQ(pic.HamBlue[0x41], 0x04u);
    EXPECT_EQ(pic.HamRed[0xBF], 0xFC0000u);
    EXPECT_EQ(pic.HamGreen[0xFF], 0xFC00u);
    EXPECT_EQ(pic.HamGreen[0xC1], 0x0400u);
}

// A 16 x rows, 4-plane picture whose every row holds the pixel values 0..15,
// with CAMG 0: each row shows the 16 colours that row maps them to.
IlbmBuilder SixteenColumns(int32_t rows, const std::vector<uint16_t>& ctbl) {
    IndexPicture picture(16, rows);
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < 16; ++x) picture.At(x, y) = uint8_t(x);
    IlbmBuilder b;
    b.Bmhd(16, rows, 4).Camg(0).Ctbl(ctbl).Body(picture, {.Planes = 4});
    return b;
}

TEST(Ctbl, WordsBecomeHighNibbles) {
    std::vector<uint16_t> line = {0x0000, 0x0FFF, 0x0123, 0x0F00, 0x00F0, 0x000F, 0x0ABC, 0x0777,
                                  0x0001, 0x0010, 0x0100, 0x0888, 0x0444, 0x0EDC, 0x0321, 0x0FA5};
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, SixteenColumns(1, line)), 1);
    EXPECT_EQ(pic.IlbmInfo.DynamicPaletteFlag, 1);
    const std::vector<uint32_t> expected = {
        0x000000, 0xF0F0F0, 0x102030, 0xF00000, 0x00F000, 0x0000F0, 0xA0B0C0,
        0x707070,
        0x000010, 0x001000, 0x100000, 0x808080, 0x404040, 0xE0D0C0, 0x302010, 0xF0A050,
    };
    EXPECT_EQ(test::ColourRow(pic, 1), expected);
}

// A colour word is 0x0RGB; bits set in its unused top nibble must not spill
// above the 24 colour bits (a BMP pixel's fourth byte stays 0).
TEST(Ctbl, UnusedTopNibbleIsIgnored) {
    std::vector<uint16_t> line(16, 0xF777);
    line[1] = 0x8ABC;
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, SixteenColumns(1, line)), 1);
    EXPECT_EQ(pic.ColourAt(0, 1), 0x707070u);
    EXPECT_EQ(pic.ColourAt(1, 1), 0xA0B0C0u);
}

TEST(Ctbl, LineCountAndRowsWithoutALine) {
    // 3 rows, a CTBL of 40 bytes: one line (the last 8 bytes are passed
    // over); rows 2 and 3 have no line of their own and map 0..15 to black.
    std::vector<uint16_t> words(20, 0x0FFF);
    words[16] = 0x0F00;  // in the partial second line: never stored
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, SixteenColumns(3, words)), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), std::vector<uint32_t>(16, 0xF0F0F0));
    EXPECT_EQ(test::ColourRow(pic, 2), std::vector<uint32_t>(16, 0));
    EXPECT_EQ(test::ColourRow(pic, 3), std::vector<uint32_t>(16, 0));
    EXPECT_EQ(pic.DynamicPalettes.size(), size_t(4 * 17));
}

TEST(Ctbl, OneLinePerRow) {
    // 200 rows, 6400 bytes: 200 lines, row r takes line r - 1.
    std::vector<uint16_t> words;
    for (int n = 0; n < 200; ++n)
        for (int c = 0; c < 16; ++c) words.push_back(uint16_t(((n % 16) << 8) | (c << 4) | ((n / 16) % 16)));
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, SixteenColumns(200, words)), 1);
    for (int32_t r : {1, 2, 17, 100, 200}) {
        const int n = r - 1;
        for (int32_t c : {0, 5, 15}) {
            const uint32_t expected = MakeRGB24(uint32_t(n % 16) * 16, uint32_t(c) * 16, uint32_t((n / 16) % 16) * 16);
            EXPECT_EQ(pic.ColourAt(c, r), expected) << "row " << r << " colour " << c;
        }
    }
}

TEST(Palettes, CarryOverBetweenLoads) {
    std::vector<uint32_t> many(256);
    for (size_t i = 0; i < 256; ++i) many[i] = MakeRGB24(uint8_t(i), uint8_t(255 - i), 7);
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 8).Cmap(many)), 1);
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 4).Cmap(std::vector<uint32_t>(16, 0x010101))), 1);
    EXPECT_EQ(pic.Palette[15], 0x010101u);
    EXPECT_EQ(pic.FilePalette[15], 0x010101u);
    for (size_t i : {16, 100, 255}) {
        EXPECT_EQ(pic.Palette[i], many[i]) << i;
        EXPECT_EQ(pic.FilePalette[i], many[i]) << i;
    }
}

}  // namespace
}  // namespace planora
