// The decisions taken where the file format leaves a choice or the original
// design has a fault, one group each, numbered as in the project's list.
#include <sys/resource.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "load_util.h"
#include "output/bmp_writer.h"
#include "output/safe_file.h"
#include "temp_dir.h"

namespace planora {
namespace {

using test::IlbmBuilder;
using test::IndexPicture;

// 1. Reads at or past the end of the file yield 0, for raw and packed rows.
TEST(Decision01, TruncatedBodiesReadZeros) {
    // 16 x 3, one plane: 6 bytes needed, the file ends after 3.
    PictureContext raw;
    ASSERT_EQ(test::Load(raw, IlbmBuilder().Bmhd(16, 3, 1).Cmap({1, 2}).Camg(0).ChunkWithLength("BODY", 6, {0xFF, 0xFF, 0xF0})), 1);
    EXPECT_EQ(test::ChunkyRow(raw, 1), std::vector<uint8_t>(16, 1));
    EXPECT_EQ(test::ChunkyRow(raw, 2), (std::vector<uint8_t>{1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(test::ChunkyRow(raw, 3), std::vector<uint8_t>(16, 0));
    EXPECT_EQ(raw.ColourAt(15, 3), 1u);

    // ByteRun1: a literal run announcing 128 bytes right at the end.
    PictureContext packed;
    ASSERT_EQ(test::Load(packed, IlbmBuilder().Bmhd(16, 3, 1, 1).Cmap({1, 2}).Camg(0).ChunkWithLength("BODY", 200, {0xFF, 0xAA, 0x7F, 0x0F})), 1);
    EXPECT_EQ(test::ChunkyRow(packed, 1), (std::vector<uint8_t>{1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0}));
    EXPECT_EQ(test::ChunkyRow(packed, 2), (std::vector<uint8_t>{0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(test::ChunkyRow(packed, 3), std::vector<uint8_t>(16, 0));
}

// 2. The walk ends when no whole chunk header is left in the file.
TEST(Decision02, WalkEndsWithoutAWholeChunkHeader) {
    // A CTBL identifier and 3 bytes of length at the end: read with zeros
    // it would be a CTBL of length 0 and set the dynamic-palette flag.
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(16, 1, 1).Camg(0).Raw({'C', 'T', 'B', 'L', 0, 0, 0})), 1);
    EXPECT_EQ(pic.IlbmInfo.DynamicPaletteFlag, 0);
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(16, 1, 1).Raw({'C', 'A', 'M', 'G', 0, 0, 0})), 1);
    EXPECT_EQ(pic.IlbmInfo.DisplayMode, 0);
    // A whole header with its data cut off is still a chunk.
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(16, 1, 1).Raw({'C', 'T', 'B', 'L', 0, 0, 0, 32})), 1);
    EXPECT_EQ(pic.IlbmInfo.DynamicPaletteFlag, 1);
}

TEST(Decision02, FormLengthLargerThanTheFile) {
    IlbmBuilder b;
    b.Bmhd(16, 1, 1).Cmap({test::kBlack, test::kWhite}).Camg(0).Body({0x0F, 0xF0});
    b.FormLength(0x7FFFFFF0u);
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, b), 1);
    EXPECT_EQ(pic.IlbmInfo.FormSize, 0x7FFFFFF0);
    EXPECT_EQ(pic.ColourAt(4, 1), test::kWhite);
    EXPECT_EQ(pic.ColourAt(0, 1), test::kBlack);
}

uint32_t CountingEntry(size_t i) { return MakeRGB24(uint8_t(3 * i + 1), uint8_t(3 * i + 2), uint8_t(3 * i + 3)); }

// 3. CMAP entries past 256 and CTBL lines past Height are not stored.
TEST(Decision03, SurplusCmapEntriesAndCtblLines) {
    std::vector<uint8_t> cmap(1000);
    for (size_t k = 0; k < cmap.size(); ++k) cmap[k] = uint8_t(k + 1);
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 1, 8).Chunk("CMAP", cmap).Camg(0)), 1);
    for (size_t i : {0, 100, 255, 256}) {
        EXPECT_EQ(pic.Palette[i], CountingEntry(i)) << i;
        EXPECT_EQ(pic.FilePalette[i], CountingEntry(i)) << i;
    }
    EXPECT_EQ(pic.IlbmInfo.DisplayMode, 1);  // the walk went on to the CAMG

    // 2 rows, a CTBL of 5 lines: rows 1 and 2 take lines 0 and 1.
    std::vector<uint16_t> ctbl(5 * 16, 0x0FFF);
    for (int c = 0; c < 16; ++c) ctbl[16 + size_t(c)] = 0x0111;
    IndexPicture p(2, 2, std::vector<uint8_t>{0, 15, 1, 2});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(2, 2, 4).Ctbl(ctbl).Camg(0).Body(p, {.Planes = 4})), 1);
    EXPECT_EQ(pic.DynamicPalettes.size(), 3u * 17u);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0xF0F0F0, 0xF0F0F0}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x101010, 0x101010}));
}

// 4. Masking 1: the mask plane row after each row's bitplanes is dropped.
TEST(Decision04, MaskPlaneIsSkipped) {
    IndexPicture picture(21, 3);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 21; ++x) picture.At(x, y) = uint8_t((x * 3 + y) % 8);
    std::vector<uint32_t> cmap(8);
    for (size_t i = 0; i < 8; ++i) cmap[i] = MakeRGB24(uint8_t(i * 30), 0, uint8_t(255 - i));
    for (test::Packing packing : {test::Packing::Raw, test::Packing::ByteRun1}) {
        const uint8_t packtype = packing == test::Packing::ByteRun1 ? 1 : 0;
        PictureContext pic;
        IlbmBuilder b;
        b.Bmhd(21, 3, 3, packtype, 1).Cmap(cmap).Camg(0)
            .Body(picture, {.Planes = 3, .Compression = packing, .MaskPlane = true, .MaskByte = 0xFF});
        ASSERT_EQ(test::Load(pic, b), 1);
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < 21; ++x) {
                ASSERT_EQ(pic.ChunkyAt(x, y + 1), picture.At(x, y)) << x << "," << y << " packed " << int(packtype);
                ASSERT_EQ(pic.ColourAt(x, y + 1), cmap[picture.At(x, y)]);
            }
        }
    }
}

TEST(Decision04, OtherMaskingValuesHaveNoMaskPlane) {
    for (uint8_t masking : {0, 2, 3}) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(16, 2, 1, 0, masking).Camg(0).Body({0xFF, 0x00, 0x00, 0xFF})), 1);
        EXPECT_EQ(pic.ChunkyAt(0, 2), 0) << int(masking);
        EXPECT_EQ(pic.ChunkyAt(15, 2), 1) << int(masking);
    }
}

// 5. No bitplanes: every pixel index 0. More than 8: failure 321 after the BMHD.
TEST(Decision05, ZeroPlanesGiveIndexZero) {
    for (uint8_t packtype : {0, 1}) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(5, 2, 0, packtype).Cmap({0x123456}).Camg(0).Body({0xFF, 0xFF, 0xFF, 0xFF})), 1);
        EXPECT_EQ(test::ChunkyRow(pic, 1), std::vector<uint8_t>(5, 0));
        EXPECT_EQ(test::ColourRow(pic, 2), std::vector<uint32_t>(5, 0x123456));
    }
}

TEST(Decision05, MoreThanEightPlanesAreRefused) {
    for (int planes : {9, 25, 255}) {  // 24, 32, 48, 64: deep pictures
        PictureContext pic;
        EXPECT_EQ(test::LoadFailure(pic, IlbmBuilder().Bmhd(7, 3, planes).Camg(0).Body(std::vector<uint8_t>(400, 0))), 321) << planes;
        EXPECT_EQ(pic.IlbmInfo.Bitplanes, planes);
        EXPECT_EQ(pic.IlbmInfo.Width, 7);
        EXPECT_EQ(pic.PictureLoaded, 0);
    }
}

// 6. No CAMG: mapped once after the walk, as an ordinary picture.
TEST(Decision06, NoCamgMapsOnceAfterTheWalk) {
    // Colour 1 is 0x000002: a second mapping would turn it into colour 2.
    const std::vector<uint32_t> cmap = {0x000000, 0x000002, 0x0000FF, 0xFFFFFF};
    IndexPicture p(4, 1, std::vector<uint8_t>{0, 1, 2, 3});
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(4, 1, 2).Cmap(cmap).Body(p, {.Planes = 2})), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), cmap);
    EXPECT_EQ(pic.IlbmInfo.MapAfterLoad, -1);

    // The CMAP after the BODY still counts: no row was mapped during decoding.
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(4, 1, 2).Body(p, {.Planes = 2}).Cmap({5, 6, 7, 8})), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{5, 6, 7, 8}));
}

TEST(Decision06, NoCamgKeepsTheDynamicPaletteStep) {
    std::vector<uint16_t> ctbl(16, 0x0000);
    ctbl[1] = 0x0ABC;
    IndexPicture p(2, 2, std::vector<uint8_t>{1, 16, 1, 16});
    std::vector<uint32_t> cmap(32, 0x111111);
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(2, 2, 5).Cmap(cmap).Ctbl(ctbl).Body(p, {.Planes = 5})), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0xA0B0C0, 0x111111}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x000000, 0x111111}));
}

// 7. A picture too large to allocate fails with 7, never a crash. Run in a
// child process whose address space is limited, so that the attempt fails
// quickly whatever the machine's memory.
void LoadHugePictureWithLimitedMemory() {
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = rlim_t(768) << 20;
    setrlimit(RLIMIT_AS, &limit);
    // 14000 x 14000 is within the picture budget (under 1 GiB of arrays) but
    // cannot be had in 768 MiB: the allocation itself fails.
    PictureContext pic;
    const int number = test::LoadFailure(pic, IlbmBuilder().Bmhd(14000, 14000, 8).Camg(0));
    std::exit(number == 7 ? 0 : 1);
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

TEST(Decision07, TooLargeToAllocate) {
    // AddressSanitizer reserves a vast address space of its own and reports a
    // failed allocation instead of returning it, so a limit cannot be tested there.
    if (kAddressSanitizer) GTEST_SKIP() << "address space limits do not apply under AddressSanitizer";
    EXPECT_EXIT(LoadHugePictureWithLimitedMemory(), ::testing::ExitedWithCode(0), "");
}

// 8. Files are replaced through a temporary file and a rename.
TEST(Decision08, ReplacingIsAllOrNothing) {
    test::TempDir dir;
    const std::string path = dir.File("target.bin");
    test::WriteBytes(path, std::vector<uint8_t>(300, 7));
    WriteFileReplacing(path, std::vector<uint8_t>{1, 2, 3});
    EXPECT_EQ(test::ReadBytes(path), (std::vector<uint8_t>{1, 2, 3}));
    WriteFileReplacing(path, std::vector<uint8_t>{});
    EXPECT_TRUE(test::ReadBytes(path).empty());
    EXPECT_TRUE(std::filesystem::exists(path));

    // A target that is a folder cannot be replaced: it stays, no temporary is left.
    const std::string folder = dir.File("folder");
    std::filesystem::create_directory(folder);
    test::WriteBytes(folder + "/inside", {9});
    EXPECT_THROW(WriteFileReplacing(folder, std::vector<uint8_t>{1}), RunTimeError);
    EXPECT_EQ(test::ReadBytes(folder + "/inside"), std::vector<uint8_t>{9});
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
}

// 9. The BMHD may come after other chunks; those are handled after it, in order.
TEST(Decision09, ChunksBeforeTheBmhd) {
    const std::vector<uint8_t> body = {0x80, 0x00};  // pixel 0 index 1
    struct Case { const char* name; IlbmBuilder file; uint32_t pixel0; int16_t displayMode; };
    std::vector<Case> cases;
    cases.push_back({"ANNO and NAME first", IlbmBuilder().Chunk("ANNO", {'x', 'y', 'z'}).Chunk("NAME", {'n'})
                         .Bmhd(16, 1, 1).Cmap({0, 0xABCDEF}).Camg(0).Body(body), 0xABCDEF, 1});
    cases.push_back({"CMAP first", IlbmBuilder().Cmap({0, 0x010203}).Bmhd(16, 1, 1).Camg(0).Body(body), 0x010203, 1});
    cases.push_back({"two CMAPs first, the later wins", IlbmBuilder().Cmap({0, 0x111111}).Chunk("ANNO", {})
                         .Cmap({0, 0x222222}).Bmhd(16, 1, 1).Camg(0).Body(body), 0x222222, 1});
    cases.push_back({"CMAP before and after: after wins", IlbmBuilder().Cmap({0, 0x111111}).Bmhd(16, 1, 1)
                         .Cmap({0, 0x333333}).Camg(0).Body(body), 0x333333, 1});
    for (Case& c : cases) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, c.file), 1) << c.name;
        EXPECT_EQ(pic.ColourAt(0, 1), c.pixel0) << c.name;
        EXPECT_EQ(pic.IlbmInfo.DisplayMode, c.displayMode) << c.name;
    }
}

TEST(Decision09, HamCamgAndCtblBeforeTheBmhd) {
    // The CAMG needs the plane count and the CTBL the height, both from the BMHD.
    std::vector<uint16_t> ctbl(3 * 16, 0);
    ctbl[0] = 0x0F00;
    ctbl[32] = 0x00F0;
    IndexPicture p(2, 3, std::vector<uint8_t>{0x00, 0x15, 0x00, 0x15, 0x00, 0x15});
    IlbmBuilder b;
    b.Camg(0x800).Ctbl(ctbl).Bmhd(2, 3, 6).Cmap(std::vector<uint32_t>(16, 0x777777)).Body(p, {.Planes = 6});
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, b), 1);
    EXPECT_EQ(pic.IlbmInfo.DisplayMode, 2);
    EXPECT_EQ(pic.IlbmInfo.DynamicPaletteFlag, 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{0xF00000, 0xF00055}));
    EXPECT_EQ(test::ColourRow(pic, 2), (std::vector<uint32_t>{0x000000, 0x000055}));
    EXPECT_EQ(test::ColourRow(pic, 3), (std::vector<uint32_t>{0x00F000, 0x00F055}));
}

TEST(Decision09, NoBmhdBeforeBodyOrEnd) {
    struct Case { const char* name; IlbmBuilder file; };
    std::vector<Case> cases;
    cases.push_back({"BODY first", IlbmBuilder().Chunk("ANNO", {}).Body({0}).Bmhd(16, 1, 1)});
    cases.push_back({"end of file", IlbmBuilder().Chunk("ANNO", {1, 2, 3}).Cmap({0})});
    cases.push_back({"chunk running past the end", IlbmBuilder().ChunkWithLength("ANNO", 100, {}).Bmhd(16, 1, 1)});
    for (Case& c : cases) {
        PictureContext pic;
        EXPECT_EQ(test::Load(pic, c.file), 0) << c.name;
    }
}

// 10. Several chunks of a kind never index outside a table.
TEST(Decision10, SeveralChunksOfAKind) {
    // A long CTBL, then a short one: rows past the short one's lines are black.
    IndexPicture p(1, 3, std::vector<uint8_t>{1, 1, 1});
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(1, 3, 1).Camg(0).Ctbl(std::vector<uint16_t>(3 * 16, 0x0FFF))
                                  .Ctbl(std::vector<uint16_t>(16, 0x0333)).Body(p, {.Planes = 1})), 1);
    EXPECT_EQ(pic.ColourAt(0, 1), 0x303030u);
    EXPECT_EQ(pic.ColourAt(0, 2), 0u);
    EXPECT_EQ(pic.ColourAt(0, 3), 0u);

    // HAM6 CAMG, then an ordinary one: mapped as an ordinary 6-plane picture.
    std::vector<uint32_t> cmap(64);
    for (size_t i = 0; i < 64; ++i) cmap[i] = uint32_t(i) * 0x010101;
    IndexPicture ham(3, 1, std::vector<uint8_t>{0x21, 0x3F, 0x15});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(3, 1, 6).Cmap(cmap).Camg(0x800).Camg(0).Body(ham, {.Planes = 6})), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), (std::vector<uint32_t>{cmap[0x21], cmap[0x3F], cmap[0x15]}));

    // BODY, CAMG, BODY: the second BODY's rows are mapped once, after the walk.
    const std::vector<uint32_t> chain = {0x000000, 0x000002, 0x0000FF, 0x000001};
    IndexPicture first(4, 1, std::vector<uint8_t>{3, 3, 3, 3}), second(4, 1, std::vector<uint8_t>{0, 1, 2, 3});
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(4, 1, 2).Cmap(chain).Body(first, {.Planes = 2}).Camg(0)
                                  .Body(second, {.Planes = 2})), 1);
    EXPECT_EQ(test::ColourRow(pic, 1), chain);
}

// 11. A picture without pixels loads; nothing is written for it.
TEST(Decision11, NoPixelsLoads) {
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{0, 0}}) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(w, h, 4).Cmap({1}).Camg(0).Body(std::vector<uint8_t>(64, 0x80))), 1) << w << "x" << h;
        EXPECT_EQ(pic.PictureLoaded, 1);
        EXPECT_TRUE(BuildBitmapFile(pic, w, h).empty());
    }
}

}  // namespace
}  // namespace planora
