// A BMP written while the picture decodes must come out byte for byte as the
// BMP written after the load, whatever the picture does on the way (rows
// mapped during or after the walk, a second BODY, no rows reported at all);
// and a stream that is not finished, or cannot write, must leave nothing
// behind and the old target as it was.
#include <gtest/gtest.h>

#include <filesystem>

#include "full_disk.h"
#include "load_util.h"
#include "output/bitmap_stream.h"
#include "output/bmp_writer.h"
#include "temp_dir.h"

namespace planora {
namespace {

using test::BodyOptions;
using test::BusyPicture;
using test::IlbmBuilder;
using test::Packing;
using test::TempDir;
using test::TestColours;

size_t FilesIn(const TempDir& dir) {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) ++count;
    return count;
}

struct Case {
    const char* name;
    std::vector<uint8_t> file;
    bool rowsReported;  // large enough for two threads, rows independent
};

std::vector<Case> Cases() {
    const auto busy8 = BusyPicture(1100, 1000, 8);
    const auto other8 = BusyPicture(1100, 1000, 3);
    std::vector<uint16_t> ctbl(16 * 1000);
    for (size_t i = 0; i < ctbl.size(); ++i) ctbl[i] = uint16_t(i * 37 % 0x1000);
    return {
        {"mapped while decoding",
         IlbmBuilder().Bmhd(1100, 1000, 8, 1).Cmap(TestColours(256)).Camg(0).Body(busy8, {8, Packing::ByteRun1}).Bytes(),
         true},
        {"mapped after the walk",
         IlbmBuilder().Bmhd(1100, 1000, 8, 1).Cmap(TestColours(256)).Body(busy8, {8, Packing::ByteRun1}).Bytes(), true},
        {"HAM8", IlbmBuilder().Bmhd(1100, 1000, 8).Cmap(TestColours(64)).Camg(0x800).Body(busy8, {8}).Bytes(), true},
        {"second BODY replaces the first",
         IlbmBuilder().Bmhd(1100, 1000, 8).Cmap(TestColours(256)).Camg(0).Body(busy8, {8}).Body(other8, {8}).Bytes(),
         true},
        {"per-line palettes", IlbmBuilder().Bmhd(1100, 1000, 4).Cmap(TestColours(16)).Camg(0).Ctbl(ctbl).Body(
                                  BusyPicture(1100, 1000, 4), {4}).Bytes(),
         false},
        {"small picture",
         IlbmBuilder().Bmhd(33, 17, 5).Cmap(TestColours(32)).Camg(0).Body(BusyPicture(33, 17, 5), {5}).Bytes(), false},
    };
}

TEST(BitmapStream, SameFileAsWritingAfterTheLoad) {
    for (const Case& c : Cases()) {
        TempDir dir;
        PictureContext streamed, plain;
        BitmapStream stream(streamed, dir.File("streamed.bmp"));
        streamed.SetRowObserver(&stream);
        ASSERT_EQ(streamed.Load_IFF_From_Memory("a.iff", c.file), 1) << c.name;
        streamed.SetRowObserver(nullptr);
        stream.Finish(streamed.IlbmInfo.Width, streamed.IlbmInfo.Height);

        ASSERT_EQ(plain.Load_IFF_From_Memory("a.iff", c.file), 1) << c.name;
        SaveArrayAsBitMap(plain, dir.File("plain.bmp"), plain.IlbmInfo.Width, plain.IlbmInfo.Height);

        EXPECT_EQ(test::ReadBytes(dir.File("streamed.bmp")), test::ReadBytes(dir.File("plain.bmp"))) << c.name;
        EXPECT_EQ(stream.RowsWrittenEarly(), c.rowsReported ? streamed.IlbmInfo.Height : 0) << c.name;
        EXPECT_EQ(FilesIn(dir), 2u) << c.name << ": a temporary file was left";
    }
}

TEST(BitmapStream, UnfinishedStreamLeavesTheOldFile) {
    TempDir dir;
    const std::string target = dir.File("picture.bmp");
    test::WriteBytes(target, {'o', 'l', 'd'});
    {
        PictureContext pic;
        BitmapStream stream(pic, target);
        pic.SetRowObserver(&stream);
        ASSERT_EQ(pic.Load_IFF_From_Memory("a.iff", Cases()[0].file), 1);
        pic.SetRowObserver(nullptr);
        // As when the converter gives up on the picture after the load.
    }
    EXPECT_EQ(test::ReadBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(FilesIn(dir), 1u);
}

TEST(BitmapStream, FailedWriteIsReportedAsTheOrdinaryWriteReportsIt) {
    TempDir dir;
    const std::string target = dir.File("picture.bmp");
    test::WriteBytes(target, {'o', 'l', 'd'});
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("a.iff", Cases()[0].file), 1);
    int ordinary = -1, streamedFailure = -1;
    {
        test::FullDisk full;
        try {
            SaveArrayAsBitMap(pic, target, pic.IlbmInfo.Width, pic.IlbmInfo.Height);
        } catch (const RunTimeError& e) {
            ordinary = e.Number();
        }
        BitmapStream stream(pic, target);
        pic.SetRowObserver(&stream);
        ASSERT_EQ(pic.Load_IFF_From_Memory("a.iff", Cases()[0].file), 1);
        pic.SetRowObserver(nullptr);
        try {
            stream.Finish(pic.IlbmInfo.Width, pic.IlbmInfo.Height);
        } catch (const RunTimeError& e) {
            streamedFailure = e.Number();
        }
    }
    EXPECT_NE(ordinary, -1);
    EXPECT_EQ(streamedFailure, ordinary);
    EXPECT_EQ(test::ReadBytes(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(FilesIn(dir), 1u);
}

}  // namespace
}  // namespace planora
