// The files the program writes (the 32-bit BMP, streamed or not, the raw
// chunky and RGB files and the palette text), how a failed write leaves the
// old file, the failure numbers and texts, and the path helpers.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "full_disk.h"
#include "iff/file_system.h"
#include "load_util.h"
#include "output/bitmap_stream.h"
#include "output/bmp_writer.h"
#include "output/exports.h"
#include "temp_dir.h"

namespace planora::test {
namespace {

// Loads file into pic while stream writes its BMP.
void LoadStreaming(PictureContext& pic, BitmapStream& stream, const Buf& file) {
    pic.SetRowObserver(&stream);
    ASSERT_EQ(pic.Load_IFF_From_Memory("a.iff", file), 1);
    pic.SetRowObserver(nullptr);
}

size_t FilesIn(const TempDir& dir) {
    return size_t(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
}

// 3 x 2, indices 0 1 2 / 3 2 1.
void LoadSmall(PictureContext& pic) {
    ASSERT_EQ(Load(pic, IlbmBuilder().Bmhd(3, 2, 2).Cmap({0x010203, 0x040506, 0x070809, 0x0A0B0C}).Camg(0)
                            .Body(IndexPicture(3, 2, {0, 1, 2, 3, 2, 1}), {2})), 1);
}

TEST(Files, BmpLayout) {
    PictureContext pic;
    LoadSmall(pic);
    EXPECT_EQ(BuildBitmapFile(pic, 3, 2), ReadBytes(PLANORA_TEST_DATA "/core_3x2.bmp"));
    for (auto [w, h] : {std::pair{0, 1}, {1, 0}, {-3, 1}}) EXPECT_TRUE(BuildBitmapFile(pic, w, h).empty()) << w << "x" << h;
    // 54 + 4 x 32767 x 16385 bytes is above 2^31 - 1; the spare column and row are never written.
    EXPECT_EQ(FailureOf([&] { BuildBitmapFile(pic, 32767, 16385); }), kOverflow);
    EXPECT_EQ(FailureOf([&] { BuildBitmapFile(pic, 4, 2); }), kSubscriptOutOfRange);
    EXPECT_EQ(FailureOf([&] { BuildBitmapFile(pic, 3, 3); }), kSubscriptOutOfRange);
}

TEST(Files, RawExportsAndPaletteText) {
    PictureContext pic;
    LoadSmall(pic);
    // Rows 0 to Height of Width + 1 elements: row 0 and the last column are 0.
    EXPECT_EQ(BuildRawChunkyFile(pic), (Buf{0, 0, 0, 0, 0, 1, 2, 0, 3, 2, 1, 0}));
    const Buf rgb = BuildRawRgbFile(pic);
    ASSERT_EQ(rgb.size(), 48u);
    EXPECT_EQ(Buf(rgb.begin() + 16, rgb.begin() + 32),
              (Buf{3, 2, 1, 0, 6, 5, 4, 0, 9, 8, 7, 0, 3, 2, 1, 0}));
    EXPECT_EQ(Buf(rgb.begin() + 44, rgb.end()), (Buf{3, 2, 1, 0}));
    const auto text = [&] {
        const Buf t = BuildPaletteTextFile(pic);
        return std::string(t.begin(), t.end());
    };
    EXPECT_EQ(text(), "$010203\r\n$040506\r\n$070809\r\n$0a0b0c\r\n");
    // One line per colour the planes reach: HAM6 has 64, the 48 its CMAP
    // leaves alone as an earlier load set them; EHB's upper 32 are halved.
    ASSERT_EQ(Load(pic, IlbmBuilder().Bmhd(1, 1, 6).Cmap(std::vector<uint32_t>(64, 0x0F0F0F))), 1);
    ASSERT_EQ(Load(pic, IlbmBuilder().Bmhd(1, 1, 6).Camg(0x800).Cmap(std::vector<uint32_t>(16, 0x222222))), 1);
    std::string ham;
    for (int i = 0; i < 64; ++i) ham += i < 16 ? "$222222\r\n" : "$0f0f0f\r\n";
    EXPECT_EQ(text(), ham);
    ASSERT_EQ(Load(pic, IlbmBuilder().Bmhd(1, 1, 6).Camg(0x80).Cmap(std::vector<uint32_t>(32, 0xFF8001))), 1);
    EXPECT_EQ(text().substr(31 * 9, 18), "$ff8001\r\n$7f4000\r\n");
    for (auto [planes, lines] : {std::pair{1, 2}, {5, 32}, {8, 256}}) {
        ASSERT_EQ(Load(pic, IlbmBuilder().Bmhd(1, 1, planes)), 1);
        EXPECT_EQ(text().size(), 9u * lines) << planes;
    }
}

// A BMP written while the picture decodes comes out byte for byte as the BMP
// written after the load, whatever happens on the way; a stream that is not
// finished, or cannot write, leaves the old file and nothing else.
TEST(Files, StreamedBmpIsTheBmpWrittenAfterTheLoad) {
    IndexPicture busy(1100, 1000), other(1100, 1000);
    for (size_t i = 0; i < busy.Pixels.size(); ++i) busy.Pixels[i] = uint8_t(i * 7919 >> (i % 5)), other.Pixels[i] = uint8_t(i / 3);
    std::vector<uint32_t> colours(256);
    for (size_t i = 0; i < 256; ++i) colours[i] = uint32_t(i * 0x0A0B0B + 0x102030) & 0xFFFFFF;
    const auto big = [&](int planes, uint8_t packtype = 0) { return IlbmBuilder().Bmhd(1100, 1000, planes, packtype).Cmap(colours); };
    const struct { const char* name; Buf file; bool early; } cases[] = {
        {"mapped while decoding", big(8, 1).Camg(0).Body(busy, {8, Packing::ByteRun1}).Bytes(), true},
        {"mapped after the walk", big(8).Body(busy, {8}).Bytes(), true},
        {"HAM8", big(8).Camg(0x800).Body(busy, {8}).Bytes(), true},
        {"second BODY", big(8).Camg(0).Body(busy, {8}).Body(other, {8}).Bytes(), true},
        {"line palettes", big(4).Camg(0).Ctbl(std::vector<uint16_t>(16000, 0x0123)).Body(other, {4}).Bytes(), false},
        {"small picture", IlbmBuilder().Bmhd(33, 17, 5).Cmap(colours).Camg(0).Body(IndexPicture(33, 17, 9), {5}).Bytes(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        PictureContext streamed, plain;
        BitmapStream stream(streamed, dir.File("a.bmp"));
        LoadStreaming(streamed, stream, c.file);
        const int32_t w = streamed.IlbmInfo.Width, h = streamed.IlbmInfo.Height;
        stream.Finish(w, h);
        ASSERT_EQ(plain.Load_IFF_From_Memory("a.iff", c.file), 1);
        EXPECT_EQ(ReadBytes(dir.File("a.bmp")), BuildBitmapFile(plain, w, h));
        EXPECT_EQ(stream.RowsWrittenEarly(), c.early ? 1000 : 0);
        EXPECT_EQ(FilesIn(dir), 1u);
    }
    TempDir dir;
    const std::string target = dir.File("picture.bmp");
    PictureContext pic;
    {  // finished at another size than the picture's: written whole at that size
        BitmapStream stream(pic, target);
        LoadStreaming(pic, stream, cases[0].file);
        stream.Finish(1100, 999);
        EXPECT_EQ(ReadBytes(target), BuildBitmapFile(pic, 1100, 999));
    }
    WriteBytes(target, {'o', 'l', 'd'});
    {  // never finished
        BitmapStream stream(pic, target);
        LoadStreaming(pic, stream, cases[0].file);
    }
    {  // the disk full: the failure of an ordinary write
        FullDisk full;
        BitmapStream stream(pic, target);
        LoadStreaming(pic, stream, cases[0].file);
        const int failure = FailureOf([&] { SaveArrayAsBitMap(pic, target, 1100, 1000); });
        EXPECT_NE(failure, 0);
        EXPECT_EQ(FailureOf([&] { stream.Finish(1100, 1000); }), failure);
    }
    EXPECT_EQ(ReadBytes(target), (Buf{'o', 'l', 'd'}));
    EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(Files, FailureTexts) {
    std::ifstream table(PLANORA_TEST_DATA "/failure_texts.tsv");
    table.ignore(100, '\n');
    int n = 0, rows = 0;
    for (std::string text; std::getline(table >> n, text); ++rows) EXPECT_EQ(RunTimeError(n).Description(), text.substr(1)) << n;
    EXPECT_EQ(rows, 12);
    EXPECT_EQ(FormatFailure("Load Error: ", RunTimeError(6), "  "), "Load Error:  6  Overflow");
    EXPECT_EQ(FormatFailure("Error: ", RunTimeError(76), " "), "Error:  76 Path not found");
    EXPECT_EQ(FormatFailure("Error Number: ", RunTimeError(-5, "Odd"), "   "), "Error Number: -5   Odd");
    EXPECT_EQ(FormatNumber(0) + FormatNumber(81920) + FormatNumber(-32768), " 0 81920-32768");
    const std::tuple<int, bool, int> errnos[] = {{ENOENT, false, 53}, {ENOENT, true, 76}, {EACCES, true, 70},
                                                 {ENOSPC, true, 61}, {ENOMEM, false, 7}, {EIO, false, 57}};
    for (const auto& [value, writing, number] : errnos) EXPECT_EQ(ErrorFromErrno(value, writing).Number(), number) << value;
    EXPECT_EQ(ConvertToLong(2147483647.0), 2147483647);
    EXPECT_EQ(ConvertToLong(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(ConvertToLong(2.4) + ConvertToLong(2.6), 5);
    for (double tooLarge : {2147483648.0, -2147483649.0}) EXPECT_EQ(FailureOf([&] { ConvertToLong(tooLarge); }), kOverflow);
}

TEST(Files, Paths) {
    EXPECT_EQ(GetFileName("C:\\pics\\boat.iff") + "|" + GetFileName("a\\b/c.iff") + "|" + GetFileName("/home/amiga/"), "boat.iff|c.iff|");
    EXPECT_EQ(StripExtension("C:\\my.pics\\boat") + "|" + StripExtension(".iff") + "|" + StripExtension("b.tar.iff"), "C:\\my|.iff|b.tar");
    EXPECT_EQ(FolderPart("C:\\pics\\boat.iff") + "|" + FolderPart("/pics/boat.iff") + "|" + FolderPart("boat"), "C:\\pics\\|/pics/|");
    EXPECT_EQ(PathBesideSource("C:\\pics\\a.b.ilbm", "bmp") + "|" + PathBesideSource("/my.pics/boat", "png"), "C:\\pics\\a.b.bmp|/my.pics/boat.png");
    TempDir dir;
    EXPECT_EQ((std::vector<int>{FileExists(dir.Path()), FileExists(""), FileExists(dir.File("absent"))}), (std::vector<int>{-1, 0, 0}));
}

// A picture within the size budget that cannot be allocated fails with "Out
// of memory", in a child process whose address space is limited. Address
// Sanitizer reserves a vast address space of its own, so it cannot run there.
TEST(Files, TooLargeToAllocate) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "address space limits do not apply under AddressSanitizer";
#endif
    const auto load = [] {
        const rlimit limit{rlim_t(768) << 20, rlim_t(768) << 20};
        setrlimit(RLIMIT_AS, &limit);
        PictureContext pic;
        std::exit(FailureOf([&] { Load(pic, IlbmBuilder().Bmhd(14000, 14000, 8).Camg(0)); }) == kOutOfMemory ? 0 : 1);
    };
    EXPECT_EXIT(load(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace planora::test
