// The chunk walk, the chunk handlers and the deliberate behaviours on odd or
// broken files, one row each: a file built byte by byte and its exact outcome
// (every pixel's colour, the mode lines of the details), then the details
// panel and loads from disk. Files the loader refuses or fails on are rows of
// the malformed-file table in tests/hardening.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "load_util.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

constexpr uint32_t W = 0xFFFFFF;
using Ilbm = IlbmBuilder;

// The colours of pixels given as palette digits: Px("0110", {A, B}) is A B B A.
std::vector<uint32_t> Px(const std::string& digits, const std::vector<uint32_t>& palette = {0, W}) {
    std::vector<uint32_t> out;
    for (char d : digits) out.push_back(palette[size_t(d - '0')]);
    return out;
}

// 16 x 1, one plane, black and white.
Ilbm Bw() { return std::move(Ilbm().Bmhd(16, 1, 1).Cmap({0, W})); }

// 4 x 1, two planes, indices 0 1 2 3.
const Buf kRamp = {0x50, 0, 0x30, 0};

struct Case {
    const char* name;
    Ilbm file;
    std::vector<uint32_t> colours = {};   // every pixel from the top; empty: not checked
    std::vector<std::string> modes = {};  // "Mode ID:" and "Mode:" values; empty: not checked
    std::optional<Ilbm> before = {};      // loaded first into the same context
};

std::vector<Case> Cases() {
    const std::vector<uint16_t> ctbl16(16, 0);
    std::vector<uint16_t> hamLines(48, 0);
    hamLines[0] = 0x0F00, hamLines[32] = 0x00F0;
    std::vector<uint32_t> grey(256);
    for (size_t i = 0; i < 256; ++i) grey[i] = uint32_t(i) * 0x010101;
    std::vector<uint32_t> ehb(64, 0x123456);
    ehb[0] = MakeRGB24(255, 128, 1);
    return {
        {"odd chunk is padded", Bw().Chunk("ANNO", {'h', 'e', 'l', 'l', 'o'}).Body({0xFF, 0}), Px("1111111100000000")},
        {"unknown and lower-case chunks passed over",
         Bw().Chunk("body", {0xFF, 0xFF}).Chunk("cmap", {1, 2, 3}).Chunk("DPI ", {0, 72, 0, 72}).Body({0xF0, 0x0F}),
         Px("1111000000001111")},
        {"FORM length ends before the BODY", Bw().Body({0xFF, 0xFF}).FormLength(4 + 28 + 14),
         Px("0000000000000000")},
        {"FORM length past the file end", Bw().Camg(0).Body({0x0F, 0xF0}).FormLength(0x7FFFFFF0u),
         Px("0000111111110000")},
        {"any other Packtype is ByteRun1", Ilbm().Bmhd(16, 1, 1, 255).Cmap({0, W}).Body({0xFF, 0xA5}),
         Px("1010010110100101")},
        {"VDAT-like BODY is ByteRun1 unless Packtype 2",
         Ilbm().Bmhd(16, 1, 1, 1).Cmap({0, W}).Body({'V', 'D', 'A', 'T', 0, 0, 0, 0}), Px("0100010001000001")},
        {"VDAT: a copy run takes its count of words, a repeat run then its own count",
         Ilbm().Bmhd(16, 2, 1, 2).Cmap({0, W}).Body({'V', 'D', 'A', 'T', 0, 0, 0, 12, 0, 4, 0, 1, 0, 1, 0xF0, 0x0F, 0, 1, 0x80, 0x01}),
         Px("11110000000011111000000000000001")},
        {"Masking 3 has no mask plane", Ilbm().Bmhd(16, 2, 1, 0, 3).Cmap({0, W}).Body({0xFF, 0, 0, 0xFF}),
         Px("11111111000000000000000011111111")},
        {"empty chunk at the FORM end", Bw().Body({0xF0, 0}).Ctbl({}),
         Px("1111000000000000")},
        {"CMAP after the BODY counts without CAMG", Ilbm().Bmhd(4, 1, 2).Body(kRamp).Cmap({5, 6, 7, 8}), {5, 6, 7, 8}},
        {"EHB with the CAMG before a 64-colour CMAP",
         Ilbm().Bmhd(3, 1, 6).Camg(0x80).Cmap(ehb).Body(IndexPicture(3, 1, {0, 32, 63}), {6}),
         {MakeRGB24(255, 128, 1), MakeRGB24(127, 64, 0), 0x091A2B}},
        {"a long CTBL, then a short one", Ilbm().Bmhd(1, 3, 1).Camg(0).Ctbl(std::vector<uint16_t>(48, 0x0FFF))
                                               .Ctbl(std::vector<uint16_t>(16, 0x0333)).Body(IndexPicture(1, 3, 1), {1}),
         {0x303030, 0, 0}},
        {"HAM6 CAMG, then an ordinary one",
         Ilbm().Bmhd(3, 1, 6).Cmap(grey).Camg(0x800).Camg(0).Body(IndexPicture(3, 1, {0x21, 0x3F, 0x15}), {6}),
         {0x212121, 0x3F3F3F, 0x151515}},
        {"BODY, CAMG, BODY: mapped once", Ilbm().Bmhd(4, 1, 2).Cmap({0, 2, 0xFF, 1}).Body({0xF0, 0, 0xF0, 0}).Camg(0)
                                              .Body(kRamp), {0, 2, 0xFF, 1}},
        {"chunks before the BMHD", Ilbm().Chunk("ANNO", {'x', 'y', 'z'}).Chunk("NAME", {'n'}).Bmhd(16, 1, 1)
                                       .Cmap({0, 0xABCDEF}).Camg(0).Body({0x80, 0}), Px("1000000000000000", {0, 0xABCDEF})},
        {"two CMAPs before the BMHD: the later", Ilbm().Cmap({0, 0x111111}).Chunk("ANNO", {}).Cmap({0, 0x222222})
                                                     .Bmhd(16, 1, 1).Camg(0).Body({0x80, 0}), Px("1000000000000000", {0, 0x222222})},
        {"CMAPs before and after the BMHD: the later", Ilbm().Cmap({0, 0x111111}).Bmhd(16, 1, 1).Cmap({0, 0x333333})
                                                           .Camg(0).Body({0x80, 0}), Px("1000000000000000", {0, 0x333333})},
        {"HAM6 CAMG and CTBL before the BMHD",
         Ilbm().Camg(0x800).Ctbl(hamLines).Bmhd(2, 3, 6).Cmap(std::vector<uint32_t>(16, 0x777777))
             .Body(IndexPicture(2, 3, {0, 0x15, 0, 0x15, 0, 0x15}), {6}),
         {0xF00000, 0xF00055, 0, 0x55, 0x00F000, 0x00F055}, {"$0000800", "Ham (OCS)", "Dynamic Palette"}},

        {"palettes carry over between loads", Ilbm().Bmhd(3, 1, 8).Cmap(std::vector<uint32_t>(16, 0x010101))
                                                  .Camg(0).Body(IndexPicture(3, 1, {15, 16, 255}), {8}),
         {0x010101, 0x101010, 0xFFFFFF}, {}, Ilbm().Bmhd(1, 1, 8).Cmap(grey)},
        {"BMHD resets the last mode", Ilbm().Bmhd(1, 1, 6), {}, {"$0000000"},
         Ilbm().Bmhd(1, 1, 6).Camg(0x884).Ctbl(ctbl16)},
        {"later CAMG: new mode, flags kept", Ilbm().Bmhd(1, 1, 6).Camg(0x884).Camg(0), {},
         {"$0000000", "HalfBright", "Interlaced"}},
        {"HAM8 interlaced", Ilbm().Bmhd(2, 2, 8).Camg(0x804), {}, {"$0000804", "HamAA(AGA)", "Interlaced"}},
        {"HAM on 5 planes", Ilbm().Bmhd(2, 2, 5).Camg(0x800), {}, {"$0000800"}},
        {"CTBL before CAMG 0x884", Ilbm().Bmhd(2, 2, 6).Ctbl(ctbl16).Camg(0x884), {},
         {"$0000884", "HalfBright", "Ham (OCS)", "Dynamic Palette", "Interlaced"}},
        {"every CAMG bit but HAM", Ilbm().Bmhd(2, 2, 6).Camg(0x7FFFF7FF), {}, {"$ffff7ff", "HalfBright", "Interlaced"}},
    };
}

TEST(Chunks, EachFileHasItsOutcome) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        PictureContext pic;
        if (c.before) {
            ASSERT_EQ(Load(pic, *c.before), 1);
        }
        RecordingObserver seen;
        pic.SetObserver(&seen);
        ASSERT_EQ(Load(pic, c.file), 1);
        EXPECT_EQ(pic.PictureLoaded, 1);
        EXPECT_TRUE(seen.Messages.empty());
        EXPECT_EQ(seen.Infos, 1);
        std::vector<uint32_t> colours;
        for (int32_t i = 0; i < pic.IlbmInfo.Width * pic.IlbmInfo.Height && !c.colours.empty(); ++i)
            colours.push_back(pic.ColourAt(i % pic.IlbmInfo.Width, 1 + i / pic.IlbmInfo.Width));
        EXPECT_EQ(colours, c.colours);
        std::vector<std::string> modes;
        for (const DetailLine& l : pic.ImageInfoLines())
            if (!c.modes.empty() && (l.Label == "Mode ID:" || l.Label == "Mode:")) modes.push_back(l.Value);
        EXPECT_EQ(modes, c.modes);
    }
}

TEST(Chunks, DetailsOfAPicture) {
    PictureContext pic;
    const BmhdFields f{.Width = 320, .Height = 256, .Xpos = 0, .Ypos = -2, .Bitplanes = 5, .Masking = 2, .Packtype = 1,
                       .TransparentColour = 0x1F, .XAspectRatio = 44, .YAspectRatio = 52};
    ASSERT_EQ(pic.Load_IFF_From_Memory("C:\\Amiga\\boing.iff", Ilbm().Bmhd(f).Camg(0x80).Bytes()), 1);
    std::ifstream table(PLANORA_TEST_DATA "/boing_details.tsv");
    std::vector<DetailLine> expected;
    for (std::string label, value; std::getline(table, label, '\t') && std::getline(table, value);) expected.push_back({label, value});
    ASSERT_EQ(expected.size(), 14u);
    EXPECT_EQ(pic.ImageInfoLines(), expected);
}

TEST(Chunks, LoadsFromDisk) {
    TempDir dir;
    PictureContext pic;
    RecordingObserver seen;
    pic.SetObserver(&seen);
    Bw().Body({0x0F, 0}).WriteTo(dir.File("my.pics.iff"));
    ASSERT_EQ(pic.Load_IFF_To_Array(dir.File("my.pics.iff")), 1);
    EXPECT_EQ(pic.ColourAt(4, 1), W);
    WriteBytes(dir.File("notes.iff"), {'N', 'o', 't', 'I', 'F', 'F'});
    EXPECT_EQ(pic.Load_IFF_To_Array(dir.File("notes.iff")), 0);
    EXPECT_TRUE(seen.Messages.empty());
    EXPECT_EQ(FailureOf([&] { pic.Load_IFF_To_Array(dir.Path()); }), kPathFileAccessError);  // a folder exists
    EXPECT_EQ(FailureOf([&] { pic.Load_TemplateFile_to_cache(dir.File("absent")); }), kFileNotFound);
    WriteBytes(dir.File("five"), {1, 2, 3, 4, 5});
    pic.Load_TemplateFile_to_cache(dir.File("five"));
    EXPECT_EQ(Buf(pic.FileCache.begin(), pic.FileCache.end()), (Buf{1, 2, 3, 4, 5, 0, 0}));
}

}  // namespace
}  // namespace planora::test
