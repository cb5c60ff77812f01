// Malformed files, one row each, with the exact outcome the loader must
// reach: the load result or failure number, the picture size and a few
// pixels. Expected colours are worked out by hand from the format rules.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"

namespace planora::test {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kC0 = 0x102030;  // colour 0 of the usual CMAP
constexpr uint32_t kC1 = 0xA0B0C0;
constexpr uint32_t kC2 = 0x405060;
constexpr uint32_t kC3 = 0xD0E0F0;
const std::vector<uint32_t> kCmap = {kC0, kC1, kC2, kC3};

struct Pixel {
    int32_t x, y;  // y counts image rows from 1
    uint32_t colour;
};

struct Case {
    std::string name;
    Bytes file;
    int result;   // 0 or 1; -1 when the load must fail
    int failure;  // the failure number when result is -1
    int32_t width = 0, height = 0;
    std::vector<Pixel> pixels = {};
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

// The first 40 bytes of a valid file: FORM, ILBM, BMHD of 8 x 2, 1 plane.
Bytes ValidHeader() {
    BmhdFields f;
    f.Width = 8;
    f.Height = 2;
    f.Bitplanes = 1;
    f.PageWidth = 0x0140;
    f.PageHeight = 0x0102;
    return IlbmBuilder().Bmhd(f).Bytes();
}

Bytes Prefix(const Bytes& bytes, size_t n) { return Bytes(bytes.begin(), bytes.begin() + long(n)); }

Bytes WithFormLength(uint32_t length) {
    return IlbmBuilder().FormLength(length).Bmhd(8, 2, 1).Cmap(kCmap).Body({0xFF, 0x00, 0x0F, 0x00}).Bytes();
}

Bytes WithBmhdLength(uint32_t declared, const Bytes& data, const Bytes& rest) {
    return IlbmBuilder().ChunkWithLength("BMHD", declared, data).Raw(rest).Bytes();
}

Bytes Chunk(const std::string& id, const Bytes& data) {
    Bytes out(id.begin(), id.end());
    PutLong(out, uint32_t(data.size()));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() % 2) out.push_back(0);
    return out;
}

Bytes SizedPicture(int32_t width, int32_t height, uint8_t packtype, const Bytes& body) {
    return IlbmBuilder().Bmhd(width, height, 1, packtype).Cmap(kCmap).Body(body).Bytes();
}

Bytes Planes(int planes) { return IlbmBuilder().Bmhd(8, 2, planes).Cmap(kCmap).Body(Bytes(64, 0xFF)).Bytes(); }

Bytes CmapOf(const Bytes& cmap, int planes, const Bytes& body) {
    return IlbmBuilder().Bmhd(8, 1, planes).Chunk("CMAP", cmap).Body(body).Bytes();
}

Bytes CmapOf1000() {
    Bytes cmap(1000);
    for (size_t i = 0; i < cmap.size(); ++i) cmap[i] = uint8_t(i * 7);
    // 8 planes of 0x40 0x00: pixel 1 has index 255, every other pixel 0.
    Bytes body;
    for (int p = 0; p < 8; ++p) {
        body.push_back(0x40);
        body.push_back(0x00);
    }
    return CmapOf(cmap, 8, body);
}

std::vector<Case> Cases() {
    const Bytes header = ValidHeader();
    std::vector<Case> cases;

    // ---- Too short or not an ILBM --------------------------------------
    cases.push_back({"EmptyFile", {}, 0, 0});
    cases.push_back({"FourBytesOfHeader", Prefix(header, 4), 0, 0});
    cases.push_back({"ElevenBytesOfHeader", Prefix(header, 11), 0, 0});
    // The BMHD's last byte (PageHeight low) is missing: it reads 0, and no
    // chunk header is left, so the picture has the header's size and no BODY.
    cases.push_back({"ThirtyNineBytesOfHeader", Prefix(header, 39), 1, 0, 8, 2, {{0, 1, 0}, {7, 2, 0}}});
    cases.push_back({"LowerCaseForm", IlbmBuilder().FormId("form").Bmhd(8, 2, 1).Bytes(), 0, 0});
    cases.push_back({"BodyBeforeBmhd", IlbmBuilder().Body({0xFF, 0, 0xFF, 0}).Bmhd(8, 2, 1).Bytes(), 0, 0});

    // ANNO before the BMHD: handled as an ordinary picture.
    cases.push_back({"AnnoBeforeBmhd",
                     IlbmBuilder().Chunk("ANNO", {'h', 'i', '!'}).Bmhd(8, 2, 1).Cmap(kCmap).Body({0xF0, 0, 0x0F, 0}).Bytes(),
                     1, 0, 8, 2, {{0, 1, kC1}, {3, 1, kC1}, {4, 1, kC0}, {3, 2, kC0}, {4, 2, kC1}}});

    // ---- FORM and BMHD lengths -------------------------------------------
    cases.push_back({"FormLength2Pow31", WithFormLength(0x80000000u), -1, kOverflow});
    cases.push_back({"FormLengthMax", WithFormLength(0xFFFFFFFFu), -1, kOverflow});
    // 21 bytes: the 20 fields, one extra byte and a pad byte; the walk starts at 42.
    {
        Bytes bmhd = BmhdData({8, 2, 0, 0, 1});
        bmhd.push_back(0xEE);
        cases.push_back({"BmhdLengthOdd",
                         IlbmBuilder().Chunk("BMHD", bmhd).Cmap(kCmap).Body({0x80, 0, 0x01, 0}).Bytes(), 1, 0, 8, 2,
                         {{0, 1, kC1}, {1, 1, kC0}, {6, 2, kC0}, {7, 2, kC1}}});
    }
    // Length 0: the fields come from the next chunk's header and data:
    // "CM" -> Width 0x434D = 17229, "AP" -> Height 0x4150 = 16720, then the
    // CMAP length 6, then Bitplanes 1 (red of colour 0). The arrays would take
    // 17230 x 16721 x 5 bytes = 1.44 GB, over the 1 GiB budget.
    cases.push_back({"BmhdLengthZero",
                     WithBmhdLength(0, {}, Chunk("CMAP", {0x01, 0x00, 0x00, 0x20, 0x30, 0x40})), -1, kOutOfMemory});
    cases.push_back({"BmhdLength2Pow31", WithBmhdLength(0x80000000u, BmhdData({8, 2, 0, 0, 1}), {}), -1, kOverflow});

    // ---- Picture size ------------------------------------------------------
    cases.push_back({"WidthZero", SizedPicture(0, 2, 0, {}), 1, 0, 0, 2});
    cases.push_back({"HeightZero", SizedPicture(8, 0, 0, {0xFF, 0xFF}), 1, 0, 8, 0});
    cases.push_back({"WidthNegative", SizedPicture(0x8000, 2, 0, {}), -1, kSubscriptOutOfRange});
    cases.push_back({"HeightNegative", SizedPicture(8, 0x8000, 0, {}), -1, kSubscriptOutOfRange});
    cases.push_back({"Huge32767Square", SizedPicture(32767, 32767, 1, {0x81, 0xFF}), -1, kOutOfMemory});
    // 32767 wide, one row: RowBytes 4096; the run fills 128 bytes (1024
    // pixels of 1), then the file's end reads as zeros.
    cases.push_back({"Wide32767TinyBody", SizedPicture(32767, 1, 1, {0x81, 0xFF}), 1, 0, 32767, 1,
                     {{0, 1, kC1}, {1023, 1, kC1}, {1024, 1, kC0}, {32766, 1, kC0}}});
    // 32767 rows of one pixel: row 1 gets 0x80, every later row is past the
    // end of the file and reads as colour 0.
    cases.push_back({"Tall32767TinyBody", SizedPicture(1, 32767, 0, {0x80, 0x00}), 1, 0, 1, 32767,
                     {{0, 1, kC1}, {0, 2, kC0}, {0, 32767, kC0}}});

    // ---- Plane counts and masking --------------------------------------
    cases.push_back({"BitplanesZero", Planes(0), 1, 0, 8, 2, {{0, 1, kC0}, {7, 2, kC0}}});
    cases.push_back({"Bitplanes9", Planes(9), -1, kInvalidFileFormat});
    cases.push_back({"Bitplanes25", Planes(25), -1, kInvalidFileFormat});  // 24, 32, 48, 64: deep pictures
    // 24 planes is a deep (true-colour) picture: planes 0-7 red, 8-15 green,
    // 16-23 blue. Row 1 takes 48 bytes of 0xFF; row 2 gets 16 more (red) and
    // then the file's end, which reads as zeros.
    cases.push_back({"Bitplanes24", Planes(24), 1, 0, 8, 2, {{0, 1, 0xFFFFFF}, {7, 1, 0xFFFFFF}, {0, 2, 0xFF0000}}});
    cases.push_back({"Bitplanes255", Planes(255), -1, kInvalidFileFormat});
    // Masking 1: a mask plane row (0xFF) follows each image row's bitplane
    // row and is dropped.
    cases.push_back({"Masking1",
                     IlbmBuilder().Bmhd(8, 2, 1, 0, 1).Cmap(kCmap).Body({0xC0, 0, 0xFF, 0xFF, 0x03, 0, 0xFF, 0xFF}).Bytes(),
                     1, 0, 8, 2, {{1, 1, kC1}, {2, 1, kC0}, {5, 2, kC0}, {6, 2, kC1}}});
    // Masking 2 (transparent colour) has no mask plane.
    cases.push_back({"Masking2", IlbmBuilder().Bmhd(8, 2, 1, 0, 2).Cmap(kCmap).Body({0xC0, 0, 0x03, 0}).Bytes(), 1, 0,
                     8, 2, {{1, 1, kC1}, {2, 1, kC0}, {5, 2, kC0}, {6, 2, kC1}}});

    // ---- ByteRun1 streams ------------------------------------------------
    // 16 x 2, 2 planes, RowBytes 2. Row 1: plane 0 repeats 0xAA 127 times
    // (two kept), plane 1 copies 0x0F 0xF0. Row 2: plane 0 copies six bytes
    // (FF 00 kept), plane 1 repeats 0x00. Index = plane0 + 2 * plane1.
    cases.push_back({"ByteRun1Overshoot",
                     IlbmBuilder()
                         .Bmhd(16, 2, 2, 1)
                         .Cmap(kCmap)
                         .Body({0x82, 0xAA, 0x01, 0x0F, 0xF0, 0x05, 0xFF, 0x00, 1, 2, 3, 4, 0x81, 0x00})
                         .Bytes(),
                     1, 0, 16, 2,
                     {{0, 1, kC1}, {1, 1, kC0}, {4, 1, kC3}, {5, 1, kC2}, {8, 1, kC3}, {13, 1, kC0}, {14, 1, kC1},
                      {7, 2, kC1}, {8, 2, kC0}, {15, 2, kC0}}});
    // Row 1 copies FF 00; row 2 meets 128 no-ops and then the file's end,
    // which reads as zeros.
    {
        Bytes body = {0x01, 0xFF, 0x00};
        body.insert(body.end(), 128, 0x80);
        cases.push_back({"ByteRun1NoOpsToEndOfFile", SizedPicture(16, 2, 1, body), 1, 0, 16, 2,
                         {{0, 1, kC1}, {7, 1, kC1}, {8, 1, kC0}, {0, 2, kC0}, {15, 2, kC0}}});
    }
    // A literal run of 4 bytes with only 0xFF left in the file.
    cases.push_back({"ByteRun1EndsMidRun", SizedPicture(16, 1, 1, {0x03, 0xFF}), 1, 0, 16, 1,
                     {{0, 1, kC1}, {7, 1, kC1}, {8, 1, kC0}, {15, 1, kC0}}});
    // Raw, 16 x 2, 3 of 4 bytes: row 2's second byte is the pad byte (0).
    cases.push_back({"RawBodyShort", SizedPicture(16, 2, 0, {0xFF, 0x0F, 0xF0}), 1, 0, 16, 2,
                     {{0, 1, kC1}, {8, 1, kC0}, {12, 1, kC1}, {3, 2, kC1}, {4, 2, kC0}, {15, 2, kC0}}});

    // ---- CMAP sizes --------------------------------------------------------
    // A fresh context's palette is all zero; 0 and 1 byte give no entry.
    cases.push_back({"Cmap0Bytes", CmapOf({}, 1, {0x0F, 0}), 1, 0, 8, 1, {{0, 1, 0}, {7, 1, 0}}});
    cases.push_back({"Cmap1Byte", CmapOf({0x77}, 1, {0x0F, 0}), 1, 0, 8, 1, {{0, 1, 0}, {7, 1, 0}}});
    // 2 bytes make one entry whose blue is the next chunk's first byte, 'B'.
    cases.push_back({"Cmap2Bytes", CmapOf({0x11, 0x22}, 1, {0x0F, 0}), 1, 0, 8, 1, {{0, 1, 0x112242}, {7, 1, 0}}});
    // 8 bytes: three entries, the third's blue again 'B' of the BODY.
    cases.push_back({"Cmap8Bytes", CmapOf({1, 2, 3, 4, 5, 6, 7, 8}, 2, {0x40, 0, 0x20, 0}), 1, 0, 8, 1,
                     {{0, 1, 0x010203}, {1, 1, 0x040506}, {2, 1, 0x070842}}});
    // 1000 bytes of i * 7: entry 255 is bytes 765-767 = EB F2 F9.
    cases.push_back({"Cmap1000Bytes", CmapOf1000(), 1, 0, 8, 1, {{0, 1, 0x00070E}, {1, 1, 0xEBF2F9}, {2, 1, 0x00070E}}});

    // ---- Mode chunks -------------------------------------------------------
    // CTBL of 4 lines for a 2-row picture: lines 0-2 stored, line 3 dropped.
    // Colour 1 of line 0 is 0x0ABC -> A0B0C0, of line 1 0x0123 -> 102030.
    {
        std::vector<uint16_t> ctbl(64, 0);
        ctbl[1] = 0x0ABC;
        ctbl[16 + 1] = 0x0123;
        ctbl[48 + 1] = 0x0FFF;
        cases.push_back({"CtblLongerThanPicture",
                         IlbmBuilder().Bmhd(8, 2, 4).Cmap(kCmap).Camg(0).Ctbl(ctbl).Body(Bytes{0xF0, 0, 0, 0, 0, 0, 0, 0,
                                                                                                0x0F, 0, 0, 0, 0, 0, 0, 0})
                             .Bytes(),
                         1, 0, 8, 2, {{0, 1, 0xA0B0C0}, {4, 1, 0}, {3, 2, 0}, {4, 2, 0x102030}}});
    }
    // A PCHG setting colour 1 to 0xF00 on line 0, then a PCHG of 20 zero
    // bytes (no change kind in its flags), which drops the first one's
    // changes. The dynamic-palette flag stays set but no line tables were
    // read, so the rows take the CMAP colours (this once read an empty
    // table).
    cases.push_back({"SecondPchgUnreadable",
                     IlbmBuilder()
                         .Bmhd(8, 1, 1)
                         .Cmap(kCmap)
                         .Camg(0)
                         .Pchg(PchgData(PchgOptions{false, 0, 1, false}, {PchgLine{0, {0x1F00}, {}, {}}}))
                         .Pchg(Bytes(20, 0))
                         .Body({0xF0, 0})
                         .Bytes(),
                     1, 0, 8, 1, {{0, 1, kC1}, {3, 1, kC1}, {4, 1, kC0}, {7, 1, kC0}}});
    cases.push_back({"Camg2Pow31", IlbmBuilder().Bmhd(8, 2, 1).Cmap(kCmap).Camg(0x80000000u).Body({0, 0, 0, 0}).Bytes(),
                     -1, kOverflow});

    // ---- Chunk structure ---------------------------------------------------
    cases.push_back({"TwoBodies", IlbmBuilder().Bmhd(8, 1, 1).Cmap(kCmap).Body({0xFF, 0}).Body({0x0F, 0}).Bytes(), 1, 0,
                     8, 1, {{0, 1, kC0}, {3, 1, kC0}, {4, 1, kC1}, {7, 1, kC1}}});
    // An ANNO claiming 256 bytes ends the walk past the FORM: the BODY inside
    // its span is never decoded, so the picture stays all zero.
    cases.push_back({"ChunkPastForm",
                     IlbmBuilder().Bmhd(8, 1, 1).Cmap(kCmap).ChunkWithLength("ANNO", 256, {'a', 'b'}).Body({0xFF, 0}).Bytes(),
                     1, 0, 8, 1, {{0, 1, 0}, {7, 1, 0}}});
    // A BODY claiming 0xFFFFFFF0 bytes decodes its rows, then ends the walk.
    cases.push_back({"BodyLengthPastFile",
                     IlbmBuilder().Bmhd(8, 1, 1).Cmap(kCmap).ChunkWithLength("BODY", 0xFFFFFFF0u, {0x3C, 0}).Bytes(), 1, 0,
                     8, 1, {{1, 1, kC0}, {2, 1, kC1}, {5, 1, kC1}, {6, 1, kC0}}});
    // A CMAP claiming 0x7FFFFFF0 bytes after the BODY: two colours from the
    // file, the rest read as zero; mapped after the walk (no CAMG).
    cases.push_back({"CmapLengthPastFile",
                     IlbmBuilder()
                         .Bmhd(8, 1, 2)
                         .Body({0x50, 0, 0x30, 0})
                         .ChunkWithLength("CMAP", 0x7FFFFFF0u, {1, 2, 3, 4, 5, 6})
                         .Bytes(),
                     1, 0, 8, 1, {{0, 1, 0x010203}, {1, 1, 0x040506}, {2, 1, 0}, {3, 1, 0}, {4, 1, 0x010203}}});
    // A second BODY header cut after 5 bytes in a FORM that claims 100
    // bytes more: no whole header is left, so the walk ends there instead of
    // decoding zeros over the first BODY.
    {
        auto cut = [](uint32_t formLength) {
            return IlbmBuilder().FormLength(formLength).Bmhd(8, 1, 1).Cmap(kCmap).Body({0x0F, 0}).Raw({'B', 'O', 'D', 'Y', 0});
        };
        const uint32_t actual = uint32_t(cut(0).Bytes().size() - 8);
        cases.push_back({"ChunkHeaderCut", cut(actual + 100).Bytes(), 1, 0, 8, 1, {{0, 1, kC0}, {4, 1, kC1}}});
    }
    return cases;
}

class MalformedFile : public testing::TestWithParam<Case> {};

TEST_P(MalformedFile, EndsInItsOutcome) {
    const Case& c = GetParam();
    PictureContext pic;
    int result = -1, failure = 0;
    try {
        result = pic.Load_IFF_From_Memory("case.iff", c.file);
    } catch (const RunTimeError& e) {
        failure = e.Number();
    }
    ASSERT_EQ(result, c.result);
    ASSERT_EQ(failure, c.failure);
    if (result != 1) {
        EXPECT_EQ(pic.PictureLoaded, 0);
        return;
    }
    EXPECT_EQ(pic.PictureLoaded, 1);
    EXPECT_EQ(pic.IlbmInfo.Width, c.width);
    EXPECT_EQ(pic.IlbmInfo.Height, c.height);
    EXPECT_EQ(pic.ImageStride(), c.width + 1);
    EXPECT_EQ(pic.ImageRows(), c.height + 1);
    for (const Pixel& p : c.pixels)
        EXPECT_EQ(pic.ColourAt(p.x, p.y), p.colour) << "pixel (" << p.x << ", " << p.y << ")";
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedFile, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

// Details the table's pixel checks cannot show.
TEST(MalformedFileDetails, MissingLastHeaderByteReadsZero) {
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("cut.iff", Prefix(ValidHeader(), 39)), 1);
    EXPECT_EQ(pic.IlbmInfo.PageWidth, 0x0140);
    EXPECT_EQ(pic.IlbmInfo.PageHeight, 0x0100);
}

TEST(MalformedFileDetails, SurplusCmapAndCtblEntriesAreNotStored) {
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("cmap.iff", CmapOf1000()), 1);
    EXPECT_EQ(pic.Palette[256], 0x00070Eu);  // bytes 768-770 = 0, 7, 14
}

TEST(MalformedFileDetails, CtblKeepsHeightPlusOneLines) {
    PictureContext pic;
    const std::vector<uint16_t> ctbl(64, 0x0FFF);
    ASSERT_EQ(pic.Load_IFF_From_Memory("ctbl.iff", IlbmBuilder().Bmhd(8, 2, 4).Ctbl(ctbl).Bytes()), 1);
    EXPECT_EQ(pic.DynamicPalettes.size(), size_t(3 * kDynamicSlots));
    EXPECT_EQ(pic.DynamicPalettes[2 * kDynamicSlots + 15], 0xF0F0F0u);
    EXPECT_EQ(pic.DynamicPalettes[2 * kDynamicSlots + 16], 0u);
}

}  // namespace
}  // namespace planora::test
