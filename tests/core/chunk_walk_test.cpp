// The FORM/ILBM/BMHD start, the BMHD fields and the chunk walk.
#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "load_util.h"
#include "recording_observer.h"
#include "temp_dir.h"

namespace planora {
namespace {

using test::IlbmBuilder;
using test::IndexPicture;

// 16 x 1, one plane, pixels alternating 0 and 1 in pairs: bytes 0x33 0x33.
IlbmBuilder Smallest() {
    IlbmBuilder b;
    b.Bmhd(16, 1, 1).Cmap({test::kBlack, test::kWhite}).Body({0x33, 0x33});
    return b;
}

TEST(ChunkWalk, SmallestFileLoads) {
    PictureContext pic;
    test::RecordingObserver seen;
    pic.SetObserver(&seen);
    ASSERT_EQ(test::Load(pic, Smallest(), "C:\\pics\\tiny.iff"), 1);
    EXPECT_EQ(pic.PictureLoaded, 1);
    EXPECT_EQ(pic.SourcePath, "C:\\pics\\tiny.iff");
    EXPECT_EQ(pic.SourceName, "tiny");
    EXPECT_EQ(pic.IlbmInfo.FormSize, 4 + 28 + 14 + 10);  // ILBM, BMHD, CMAP, BODY
    EXPECT_EQ(pic.IlbmInfo.HeaderSize, 20);
    EXPECT_TRUE(seen.Messages.empty());
    EXPECT_EQ(seen.Infos.size(), 1u);
    const std::vector<uint8_t> expected = {0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 1, 1};
    EXPECT_EQ(test::ChunkyRow(pic, 1), expected);
    EXPECT_EQ(pic.ColourAt(2, 1), test::kWhite);
}

TEST(ChunkWalk, CheckStopsAtTheBmhdData) {
    PictureContext pic;
    const std::vector<uint8_t> file = Smallest().Bytes();
    pic.FileCache.assign(file.begin(), file.end());
    pic.FileCache.insert(pic.FileCache.end(), {0, 0});
    pic.CachePos = 0;
    EXPECT_EQ(pic.iff_check_if_File_is_iffbitmap(), 0);
    EXPECT_EQ(pic.CachePos, 20);
    EXPECT_EQ(pic.IlbmInfo.HeaderSize, 20);
}

TEST(ChunkWalk, BmhdFieldsInFileOrder) {
    test::BmhdFields f;
    f.Width = 320;
    f.Height = 256;
    f.Xpos = -3;
    f.Ypos = 7;
    f.Bitplanes = 5;
    f.Masking = 2;
    f.Packtype = 1;
    f.Pad1 = 0x80;
    f.TransparentColour = 0x1234;
    f.XAspectRatio = 10;
    f.YAspectRatio = 11;
    f.PageWidth = 640;
    f.PageHeight = -2;
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, IlbmBuilder().Bmhd(f)), 1);
    const IlbmInfoRecord& i = pic.IlbmInfo;
    EXPECT_EQ(i.Width, 320);
    EXPECT_EQ(i.Height, 256);
    EXPECT_EQ(i.Xpos, -3);
    EXPECT_EQ(i.Ypos, 7);
    EXPECT_EQ(i.Bitplanes, 5);
    EXPECT_EQ(i.Masking, 2);
    EXPECT_EQ(i.Packtype, 1);
    EXPECT_EQ(i.Pad1, 0x80);
    EXPECT_EQ(i.TransparentColour, 0x1234);
    EXPECT_EQ(i.XAspectRatio, 10);
    EXPECT_EQ(i.YAspectRatio, 11);
    EXPECT_EQ(i.PageWidth, 640);
    EXPECT_EQ(i.PageHeight, -2);
    // No BODY: the images are allocated and stay zero.
    EXPECT_EQ(pic.ImageStride(), 321);
    EXPECT_EQ(pic.ColourAt(100, 100), 0u);
    EXPECT_EQ(pic.ChunkyAt(320, 256), 0);
}

TEST(ChunkWalk, RejectionsGiveZeroAndNoMessage) {
    struct Case { const char* name; IlbmBuilder file; };
    std::vector<Case> cases;
    cases.push_back({"lower-case form", Smallest().FormId("form")});
    cases.push_back({"other form type", Smallest().FormType("8SVX")});
    cases.push_back({"lower-case ilbm", Smallest().FormType("ilbm")});
    cases.push_back({"BODY before BMHD", IlbmBuilder().Body({0, 0}).Bmhd(16, 1, 1)});
    cases.push_back({"no BMHD", IlbmBuilder().Cmap({0}).Body({0, 0})});
    cases.push_back({"no BMHD and no BODY", IlbmBuilder().Cmap({0}).Camg(0)});
    cases.push_back({"lower-case bmhd", IlbmBuilder().Chunk("bmhd", test::BmhdData({}))});
    cases.push_back({"FORM header only", IlbmBuilder().FormType("")});
    for (Case& c : cases) {
        PictureContext pic;
        test::RecordingObserver seen;
        pic.SetObserver(&seen);
        EXPECT_EQ(test::Load(pic, c.file), 0) << c.name;
        EXPECT_EQ(pic.PictureLoaded, 0) << c.name;
        EXPECT_TRUE(seen.Messages.empty()) << c.name;
        EXPECT_TRUE(seen.Infos.empty()) << c.name;
    }
}

TEST(ChunkWalk, PlainTextFileIsNotAPicture) {
    test::TempDir dir;
    const std::string path = dir.File("notes.iff");
    const std::string text = "These are not the pixels you are looking for.\n";
    test::WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
    PictureContext pic;
    test::RecordingObserver seen;
    pic.SetObserver(&seen);
    EXPECT_EQ(pic.Load_IFF_To_Array(path), 0);
    EXPECT_TRUE(seen.Messages.empty());
}

TEST(ChunkWalk, MissingFileTellsTheUser) {
    test::TempDir dir;
    PictureContext pic;
    test::RecordingObserver seen;
    pic.SetObserver(&seen);
    EXPECT_EQ(pic.Load_IFF_To_Array(dir.File("absent.iff")), 0);
    EXPECT_EQ(seen.Messages, std::vector<std::string>{"Error- File Doesn't Exist"});
    EXPECT_EQ(pic.PictureLoaded, 0);
}

TEST(ChunkWalk, LoadsFromAPath) {
    test::TempDir dir;
    const std::string path = dir.File("my.pics.iff");
    Smallest().WriteTo(path);
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(path), 1);
    EXPECT_EQ(pic.SourcePath, path);
    EXPECT_EQ(pic.SourceName, "my.pics");
    EXPECT_EQ(pic.ChunkyAt(3, 1), 1);
}

TEST(ChunkWalk, OddChunkIsPaddedAndSkipped) {
    // ANNO of 5 bytes: the walk continues 6 bytes after its data and finds the BODY.
    PictureContext pic;
    IlbmBuilder b;
    b.Bmhd(16, 1, 1).Cmap({test::kBlack, test::kWhite}).Chunk("ANNO", {'h', 'e', 'l', 'l', 'o'}).Body({0xFF, 0x00});
    ASSERT_EQ(test::Load(pic, b), 1);
    EXPECT_EQ(pic.ChunkyAt(0, 1), 1);
    EXPECT_EQ(pic.ChunkyAt(8, 1), 0);
}

TEST(ChunkWalk, OddBmhdLengthIsPadded) {
    // A BMHD declaring 21 bytes: the walk starts at 20 + 21 + 1 = 42.
    std::vector<uint8_t> bmhd = test::BmhdData({.Width = 16, .Height = 1, .Bitplanes = 1});
    bmhd.push_back(0xEE);
    IlbmBuilder b;
    b.Chunk("BMHD", bmhd).Cmap({test::kBlack, test::kWhite}).Body({0x80, 0x01});
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, b), 1);
    EXPECT_EQ(pic.IlbmInfo.HeaderSize, 21);
    EXPECT_EQ(pic.ChunkyAt(0, 1), 1);
    EXPECT_EQ(pic.ChunkyAt(15, 1), 1);
    EXPECT_EQ(pic.ChunkyAt(1, 1), 0);
}

TEST(ChunkWalk, UnknownAndCaseDifferentChunksArePassedOver) {
    IlbmBuilder b;
    b.Bmhd(16, 1, 1).Cmap({test::kBlack, test::kWhite}).Chunk("body", {0xFF, 0xFF}).Chunk("cmap", {1, 2, 3})
        .Chunk("DPI ", {0, 72, 0, 72}).Body({0xF0, 0x0F});
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, b), 1);
    EXPECT_EQ(test::ChunkyRow(pic, 1), (std::vector<uint8_t>{1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(pic.Palette[0], test::kBlack);
}

TEST(ChunkWalk, ChunkPastFormSizeEndsTheWalk) {
    // The CMAP claims 1000 bytes, more than the FORM holds: the walk ends
    // after it, so the BODY that follows is never decoded.
    IlbmBuilder b;
    b.Bmhd(16, 1, 1).ChunkWithLength("ANNO", 1000, {}).Cmap({test::kBlack, test::kWhite}).Body({0xFF, 0xFF});
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, b), 1);
    EXPECT_EQ(pic.ChunkyAt(0, 1), 0);
}

TEST(ChunkWalk, FormSizeBoundsTheWalk) {
    // FORM length covering only up to the CMAP: the BODY after it is outside
    // the FORM and not decoded.
    IlbmBuilder b;
    b.Bmhd(16, 1, 1).Cmap({test::kBlack, test::kWhite}).Body({0xFF, 0xFF});
    b.FormLength(4 + 28 + 14);
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, b), 1);
    EXPECT_EQ(pic.ChunkyAt(0, 1), 0);
    EXPECT_EQ(pic.Palette[1], test::kWhite);
}

TEST(ChunkWalk, MapAfterLoadFollowsTheCamgPosition) {
    const IndexPicture one(16, 1, 1);
    const test::BodyOptions raw{.Planes = 1};
    struct Case { const char* name; IlbmBuilder file; int16_t mapAfterLoad; int16_t displayMode; };
    std::vector<Case> cases;
    cases.push_back({"CAMG before BODY", IlbmBuilder().Bmhd(16, 1, 1).Camg(0).Body(one, raw), 0, 1});
    cases.push_back({"BODY before CAMG", IlbmBuilder().Bmhd(16, 1, 1).Body(one, raw).Camg(0), -1, 1});
    cases.push_back({"no CAMG", IlbmBuilder().Bmhd(16, 1, 1).Body(one, raw), -1, 0});
    cases.push_back({"no BODY", IlbmBuilder().Bmhd(16, 1, 1), 0, 0});
    for (Case& c : cases) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, c.file), 1) << c.name;
        EXPECT_EQ(pic.IlbmInfo.MapAfterLoad, c.mapAfterLoad) << c.name;
        if (c.displayMode != 0) {
            EXPECT_EQ(pic.IlbmInfo.DisplayMode, c.displayMode) << c.name;
        }
    }
}

TEST(ChunkWalk, HeaderValuesTooLargeOverflow) {
    struct Case { const char* name; IlbmBuilder file; };
    std::vector<Case> cases;
    cases.push_back({"FORM length 2^31", Smallest().FormLength(0x80000000u)});
    cases.push_back({"BMHD length 2^31", IlbmBuilder().ChunkWithLength("BMHD", 0x80000000u, test::BmhdData({}))});
    cases.push_back({"CMAP length 2^31", IlbmBuilder().Bmhd(16, 1, 1).ChunkWithLength("CMAP", 0xFFFFFFFFu, {})});
    cases.push_back({"CTBL length 2^31", IlbmBuilder().Bmhd(16, 1, 1).ChunkWithLength("CTBL", 0x80000000u, {})});
    cases.push_back({"CAMG value 2^31", IlbmBuilder().Bmhd(16, 1, 1).Camg(0x80000000u)});
    for (Case& c : cases) {
        PictureContext pic;
        EXPECT_EQ(test::LoadFailure(pic, c.file), 6) << c.name;
        EXPECT_EQ(pic.PictureLoaded, 0) << c.name;
    }
}

TEST(ChunkWalk, NegativeSizeIsARangeFailure) {
    for (auto [w, h] : {std::pair{-1, 1}, std::pair{16, -32768}}) {
        PictureContext pic;
        EXPECT_EQ(test::LoadFailure(pic, IlbmBuilder().Bmhd(w, h, 1)), 9) << w << "x" << h;
        EXPECT_EQ(pic.PictureLoaded, 0);
    }
}

TEST(ChunkWalk, AFolderCannotBeLoaded) {
    // A folder passes the existence test, then reading it fails.
    test::TempDir dir;
    PictureContext pic;
    EXPECT_THROW(pic.Load_IFF_To_Array(dir.Path()), RunTimeError);
    EXPECT_EQ(pic.PictureLoaded, 0);
}

TEST(ChunkWalk, FileWithoutBodyKeepsZeroImages) {
    for (bool withCamg : {false, true}) {
        IlbmBuilder b;
        b.Bmhd(4, 2, 2).Cmap({test::kRed, test::kGreen, test::kBlue, test::kWhite});
        if (withCamg) b.Camg(0);
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, b), 1);
        for (int32_t y = 0; y <= 2; ++y) {
            for (int32_t x = 0; x <= 4; ++x) {
                EXPECT_EQ(pic.ColourAt(x, y), 0u) << x << "," << y << " camg " << withCamg;
                EXPECT_EQ(pic.ChunkyAt(x, y), 0) << x << "," << y;
            }
        }
    }
}

TEST(ChunkWalk, SecondBodyIsDecodedOverTheFirst) {
    IlbmBuilder b;
    b.Bmhd(16, 1, 1).Cmap({test::kBlack, test::kWhite}).Body({0xFF, 0xFF}).Body({0x0F, 0x00});
    PictureContext pic;
    ASSERT_EQ(test::Load(pic, b), 1);
    EXPECT_EQ(pic.ChunkyAt(0, 1), 0);
    EXPECT_EQ(pic.ChunkyAt(4, 1), 1);
    EXPECT_EQ(pic.ColourAt(4, 1), test::kWhite);
    EXPECT_EQ(pic.ColourAt(8, 1), test::kBlack);
}

}  // namespace
}  // namespace planora
