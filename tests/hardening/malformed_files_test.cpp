// Malformed files and the decisions about broken or unusual ones, one row
// each, with the exact outcome the loader must reach: the load result or
// failure number, the picture size and a few pixels, worked out by hand from
// the format rules. Every row is loaded into a context that has just shown a
// picture with palette changes, so nothing of that picture may carry over.
#include <gtest/gtest.h>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "ilbm_builder.h"
#include "output/bmp_writer.h"

namespace planora::test {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kC0 = 0x102030, kC1 = 0xA0B0C0, kC2 = 0x405060, kC3 = 0xD0E0F0;
const std::vector<uint32_t> kCmap = {kC0, kC1, kC2, kC3};

struct Pixel {
    int32_t x, y;  // y counts image rows from 1
    uint32_t colour;
};

struct Case {
    std::string name;
    Bytes file;
    int outcome;  // 0 or 1: the load's result; otherwise the failure number
    int32_t width = 0, height = 0;
    std::vector<Pixel> pixels = {};
    int64_t budget = kDefaultImageByteBudget;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

Bytes Prefix(const Bytes& bytes, size_t n) { return Bytes(bytes.begin(), bytes.begin() + long(n)); }
Bytes Edit(Bytes bytes, std::initializer_list<std::pair<size_t, uint8_t>> edits) {
    for (auto [at, value] : edits) bytes[at] = value;
    return bytes;
}

IlbmBuilder Ilbm(int32_t width, int32_t height, int planes, uint8_t packtype = 0, uint8_t masking = 0) {
    IlbmBuilder file;
    file.Bmhd(width, height, planes, packtype, masking).Cmap(kCmap);
    return file;
}
Bytes Sized(int32_t width, int32_t height, uint8_t packtype, const Bytes& body) {
    return Ilbm(width, height, 1, packtype).Body(body).Bytes();
}
Bytes Planes(int planes) { return Ilbm(8, 2, planes).Body(Bytes(64, 0xFF)).Bytes(); }
Bytes CmapOf(const Bytes& cmap, int planes, const Bytes& body) {
    return IlbmBuilder().Bmhd(8, 1, planes).Chunk("CMAP", cmap).Body(body).Bytes();
}
// 1 x 2, 1 plane, both pixels colour 1, with PCHG data.
Bytes WithPchg(const Bytes& pchg) { return Ilbm(1, 2, 1).Camg(0).Pchg(pchg).Body({0x80, 0, 0x80, 0}).Bytes(); }
// Palette lines of 16 words with colour 1 set.
std::vector<uint16_t> ColourOneLines(std::vector<uint16_t> colours) {
    std::vector<uint16_t> words;
    for (uint16_t c : colours) {
        words.insert(words.end(), 16, 0);
        words[words.size() - 15] = c;
    }
    return words;
}
// One deep pixel of 16-bit components R 0xAB12, G 0x34CD, B 0x00FF, A 0x7F00.
Bytes SixteenBitPixel(int planes) {
    const uint32_t components[4] = {0xAB12, 0x34CD, 0x00FF, 0x7F00};
    Bytes body;
    for (int p = 0; p < planes; ++p) body.insert(body.end(), {uint8_t((components[p / 16] >> (p % 16)) & 1 ? 0x80 : 0), 0});
    return body;
}

std::vector<Case> Cases() {
    BmhdFields fields{.Width = 8, .Height = 2, .Bitplanes = 1, .PageWidth = 0x140, .PageHeight = 0x102};
    const Bytes header = IlbmBuilder().Bmhd(fields).Bytes();  // 40 bytes
    Bytes bmhd21 = BmhdData({.Width = 8, .Height = 2, .Bitplanes = 1});
    bmhd21.push_back(0xEE);
    Bytes noOps = {0x01, 0xFF, 0x00};
    noOps.insert(noOps.end(), 128, 0x80);
    Bytes cmap1000(1000);
    for (size_t i = 0; i < cmap1000.size(); ++i) cmap1000[i] = uint8_t(i * 7);
    std::vector<uint16_t> ctbl(64, 0);
    ctbl[1] = 0x0ABC, ctbl[16 + 1] = 0x0123, ctbl[48 + 1] = 0x0FFF;
    std::vector<uint16_t> pbmCtbl(16, 0);
    pbmCtbl[1] = 0x0F80;
    const auto cut = [](uint32_t formLength) {
        return Ilbm(8, 1, 1).FormLength(formLength).Body({0x0F, 0}).Raw({'B', 'O', 'D', 'Y', 0});
    };
    const Bytes pchg = PchgData({false, 0, 1, false}, {{0, {0x1F00}, {}, {}}});
    Bytes badTree = PchgData({false, 0, 1, true}, {{0, {0x1F00}, {}, {}}});
    for (uint32_t i = 0; i < uint32_t(badTree[22] << 8 | badTree[23]); i += 2) badTree[28 + i] = 0x80, badTree[29 + i] = 0;
    const auto shamAndPchg = [&](bool pchgFirst) {
        IlbmBuilder file = Ilbm(1, 1, 1).Camg(0);
        if (pchgFirst) file.Pchg(pchg);
        file.Sham(ColourOneLines({0x0123}));
        if (!pchgFirst) file.Pchg(pchg);
        return file.Body({0x80, 0}).Bytes();
    };

    return {
        // ---- Too short, not an ILBM, chunk order ------------------------------
        {"EmptyFile", {}, 0},
        {"ElevenBytesOfHeader", Prefix(header, 11), 0},
        // The BMHD's last byte is missing and no chunk header is left: the
        // picture has the header's size and no BODY (colour 0 is still black).
        {"ThirtyNineBytesOfHeader", Prefix(header, 39), 1, 8, 2, {{0, 1, 0}, {7, 2, 0}}},
        {"LowerCaseForm", IlbmBuilder().FormId("form").Bmhd(8, 2, 1).Bytes(), 0},
        {"SoundForm", IlbmBuilder().FormType("8SVX").Bmhd(2, 1, 8).Body({1, 0}).Bytes(), 0},
        {"BodyBeforeBmhd", IlbmBuilder().Body({0xFF, 0, 0xFF, 0}).Bmhd(8, 2, 1).Bytes(), 0},
        {"AnnoBeforeBmhd", IlbmBuilder().Chunk("ANNO", {'h', 'i', '!'}).Bmhd(8, 2, 1).Cmap(kCmap).Body({0xF0, 0, 0x0F, 0}).Bytes(),
         1, 8, 2, {{0, 1, kC1}, {3, 1, kC1}, {4, 1, kC0}, {3, 2, kC0}, {4, 2, kC1}}},
        // ---- FORM and BMHD lengths ----------------------------------------------
        {"FormLength2Pow31", Ilbm(8, 2, 1).FormLength(0x80000000u).Body({0xFF, 0, 0x0F, 0}).Bytes(), kOverflow},
        {"FormLengthMax", Ilbm(8, 2, 1).FormLength(0xFFFFFFFFu).Body({0xFF, 0, 0x0F, 0}).Bytes(), kOverflow},
        // 21 bytes: the 20 fields, one extra byte and a pad byte; the walk goes on at 42.
        {"BmhdLengthOdd", IlbmBuilder().Chunk("BMHD", bmhd21).Cmap(kCmap).Body({0x80, 0, 0x01, 0}).Bytes(), 1, 8, 2,
         {{0, 1, kC1}, {1, 1, kC0}, {6, 2, kC0}, {7, 2, kC1}}},
        // Length 0: the fields come from the next chunk: "CM" -> Width 17229,
        // "AP" -> Height 16720; 17230 x 16721 x 5 bytes is over the 1 GiB budget.
        {"BmhdLengthZero", IlbmBuilder().ChunkWithLength("BMHD", 0, {}).Chunk("CMAP", {1, 0, 0, 0x20, 0x30, 0x40}).Bytes(),
         kOutOfMemory},
        {"BmhdLength2Pow31", IlbmBuilder().ChunkWithLength("BMHD", 0x80000000u, BmhdData({8, 2, 0, 0, 1})).Bytes(), kOverflow},
        // ---- Picture size and the memory budget (5 bytes per element of
        // (Width + 1) x (Height + 1)) ------------------------------------------------
        {"WidthZero", Sized(0, 2, 0, {}), 1, 0, 2},
        {"HeightZero", Sized(8, 0, 0, {0xFF, 0xFF}), 1, 8, 0},
        {"WidthNegative", Sized(0x8000, 2, 0, {}), kSubscriptOutOfRange},
        {"HeightNegative", Sized(8, 0x8000, 0, {}), kSubscriptOutOfRange},
        {"Huge32767Square", Sized(32767, 32767, 1, {0x81, 0xFF}), kOutOfMemory},
        // 14654 x 14654 needs 14655^2 x 5 = 1,073,845,125 bytes, just over 1 GiB.
        {"JustOverOneGibibyte", Sized(14654, 14654, 1, {0x81, 0xFF}), kOutOfMemory},
        // 8 x 2 needs 9 x 3 x 5 = 135 bytes.
        {"ExactlyAtTheBudget", Sized(8, 2, 0, {0x80, 0, 0x80, 0}), 1, 8, 2, {{0, 2, kC1}, {1, 2, kC0}}, 135},
        {"OneByteOverTheBudget", Sized(8, 2, 0, {0x80, 0, 0x80, 0}), kOutOfMemory, 0, 0, {}, 134},
        // RowBytes 4096; the run fills 128 bytes, then the file's end reads as zeros.
        {"Wide32767TinyBody", Sized(32767, 1, 1, {0x81, 0xFF}), 1, 32767, 1,
         {{0, 1, kC1}, {1023, 1, kC1}, {1024, 1, kC0}, {32766, 1, kC0}}},
        {"Tall32767TinyBody", Sized(1, 32767, 0, {0x80, 0x00}), 1, 1, 32767, {{0, 1, kC1}, {0, 2, kC0}, {0, 32767, kC0}}},
        // ---- Plane counts, masking, deep pictures --------------------------------
        {"BitplanesZero", Planes(0), 1, 8, 2, {{0, 1, kC0}, {7, 2, kC0}}},
        {"Bitplanes9", Planes(9), kInvalidFileFormat},
        {"Bitplanes25", Planes(25), kInvalidFileFormat},
        {"Bitplanes47", Planes(47), kInvalidFileFormat},
        {"Bitplanes255", Planes(255), kInvalidFileFormat},
        {"PbmNeverDeep", IlbmBuilder().FormType("PBM ").Bmhd(2, 1, 24).Body(Bytes(8, 0)).Bytes(), kInvalidFileFormat},
        // Deep: planes 0-7 red, 8-15 green, 16-23 blue. Row 1 takes 48 bytes of
        // 0xFF; row 2 gets 16 more (red), then the file's end reads as zeros.
        {"Bitplanes24", Planes(24), 1, 8, 2, {{0, 1, 0xFFFFFF}, {7, 1, 0xFFFFFF}, {0, 2, 0xFF0000}}},
        // A CMAP and an Extra-Half-Brite CAMG change nothing in a deep picture.
        {"DeepWithCmapAndCamg",
         IlbmBuilder().Bmhd(3, 1, 24).Cmap({0xABCDEF}).Camg(0x80)
             .Body(EncodeDeepBody(3, 1, {0x123456, 0xFFFFFF, 0}, 24, Packing::Raw)).Bytes(),
         1, 3, 1, {{0, 1, 0x123456}, {1, 1, 0xFFFFFF}, {2, 1, 0}}},
        // 16-bit components keep their high byte.
        {"Deep48", IlbmBuilder().Bmhd(1, 1, 48).Body(SixteenBitPixel(48)).Bytes(), 1, 1, 1, {{0, 1, 0xAB3400}}},
        {"Deep64", IlbmBuilder().Bmhd(1, 1, 64).Body(SixteenBitPixel(64)).Bytes(), 1, 1, 1, {{0, 1, 0xAB3400}}},
        // Masking 1: a mask plane row (0xFF) after each row's bitplane rows is dropped.
        {"Masking1", Ilbm(8, 2, 1, 0, 1).Body({0xC0, 0, 0xFF, 0xFF, 0x03, 0, 0xFF, 0xFF}).Bytes(), 1, 8, 2,
         {{1, 1, kC1}, {2, 1, kC0}, {5, 2, kC0}, {6, 2, kC1}}},
        // Masking 2 (transparent colour) has no mask plane.
        {"Masking2", Ilbm(8, 2, 1, 0, 2).Body({0xC0, 0, 0x03, 0}).Bytes(), 1, 8, 2,
         {{1, 1, kC1}, {2, 1, kC0}, {5, 2, kC0}, {6, 2, kC1}}},
        // ---- ByteRun1 and short bodies -----------------------------------------
        // 16 x 2, 2 planes. Row 1: plane 0 repeats 0xAA 127 times (two kept),
        // plane 1 copies 0F F0. Row 2: plane 0 copies six bytes (FF 00 kept),
        // plane 1 repeats 0x00. Index = plane0 + 2 * plane1.
        {"ByteRun1Overshoot", Ilbm(16, 2, 2, 1).Body({0x82, 0xAA, 0x01, 0x0F, 0xF0, 0x05, 0xFF, 0x00, 1, 2, 3, 4, 0x81, 0x00}).Bytes(),
         1, 16, 2, {{0, 1, kC1}, {1, 1, kC0}, {4, 1, kC3}, {5, 1, kC2}, {8, 1, kC3}, {13, 1, kC0}, {14, 1, kC1},
                    {7, 2, kC1}, {8, 2, kC0}, {15, 2, kC0}}},
        // Row 2 meets 128 no-ops and then the file's end, which reads as zeros.
        {"ByteRun1NoOpsToEndOfFile", Sized(16, 2, 1, noOps), 1, 16, 2, {{0, 1, kC1}, {7, 1, kC1}, {8, 1, kC0}, {0, 2, kC0}}},
        {"ByteRun1EndsMidRun", Sized(16, 1, 1, {0x03, 0xFF}), 1, 16, 1, {{0, 1, kC1}, {7, 1, kC1}, {8, 1, kC0}, {15, 1, kC0}}},
        // Bits past the width are padding, never pixels.
        {"PaddingBitsIgnored", Sized(4, 1, 0, {0xFF, 0xFF}), 1, 4, 1, {{0, 1, kC1}, {3, 1, kC1}}},
        // 3 of 4 bytes: row 2's second byte reads 0.
        {"RawBodyShort", Sized(16, 2, 0, {0xFF, 0x0F, 0xF0}), 1, 16, 2,
         {{0, 1, kC1}, {8, 1, kC0}, {12, 1, kC1}, {3, 2, kC1}, {4, 2, kC0}, {15, 2, kC0}}},
        // ---- CMAP sizes: 0 and 1 byte give no entry; a partial entry takes
        // the next chunk's first byte ('B' of BODY) --------------------------------
        {"Cmap0Bytes", CmapOf({}, 1, {0x0F, 0}), 1, 8, 1, {{0, 1, 0}, {7, 1, 0}}},
        {"Cmap1Byte", CmapOf({0x77}, 1, {0x0F, 0}), 1, 8, 1, {{0, 1, 0}, {7, 1, 0}}},
        {"Cmap2Bytes", CmapOf({0x11, 0x22}, 1, {0x0F, 0}), 1, 8, 1, {{0, 1, 0x112242}, {7, 1, 0}}},
        {"Cmap8Bytes", CmapOf({1, 2, 3, 4, 5, 6, 7, 8}, 2, {0x40, 0, 0x20, 0}), 1, 8, 1,
         {{0, 1, 0x010203}, {1, 1, 0x040506}, {2, 1, 0x070842}}},
        // 1000 bytes of i * 7: entry 255 is bytes 765-767.
        {"Cmap1000Bytes", CmapOf(cmap1000, 8, {0x40, 0, 0x40, 0, 0x40, 0, 0x40, 0, 0x40, 0, 0x40, 0, 0x40, 0, 0x40, 0}), 1, 8, 1,
         {{0, 1, 0x00070E}, {1, 1, 0xEBF2F9}, {2, 1, 0x00070E}}},
        // ---- Chunk structure --------------------------------------------------------
        {"TwoBodies", Ilbm(8, 1, 1).Body({0xFF, 0}).Body({0x0F, 0}).Bytes(), 1, 8, 1, {{0, 1, kC0}, {3, 1, kC0}, {4, 1, kC1}}},
        // An ANNO claiming 256 bytes ends the walk past the FORM: the BODY is never decoded.
        {"ChunkPastForm", Ilbm(8, 1, 1).ChunkWithLength("ANNO", 256, {'a', 'b'}).Body({0xFF, 0}).Bytes(), 1, 8, 1,
         {{0, 1, 0}, {7, 1, 0}}},
        {"BodyLengthPastFile", Ilbm(8, 1, 1).ChunkWithLength("BODY", 0xFFFFFFF0u, {0x3C, 0}).Bytes(), 1, 8, 1,
         {{1, 1, kC0}, {2, 1, kC1}, {5, 1, kC1}, {6, 1, kC0}}},
        // Two colours from the file, the rest zero; mapped after the walk (no CAMG).
        {"CmapLengthPastFile",
         IlbmBuilder().Bmhd(8, 1, 2).Body({0x50, 0, 0x30, 0}).ChunkWithLength("CMAP", 0x7FFFFFF0u, {1, 2, 3, 4, 5, 6}).Bytes(),
         1, 8, 1, {{0, 1, 0x010203}, {1, 1, 0x040506}, {2, 1, 0}, {3, 1, 0}, {4, 1, 0x010203}}},
        // A second BODY header cut after 5 bytes in a FORM that claims 100
        // bytes more: the walk ends there instead of decoding zeros over the first.
        {"ChunkHeaderCut", cut(uint32_t(cut(0).Bytes().size() - 8 + 100)).Bytes(), 1, 8, 1, {{0, 1, kC0}, {4, 1, kC1}}},
        {"Camg2Pow31", Ilbm(8, 2, 1).Camg(0x80000000u).Body({0, 0, 0, 0}).Bytes(), kOverflow},
        // ---- PBM, ACBM, compression 2 ------------------------------------------------
        // Index 33 with CAMG 0x80: half of colour 1.
        {"PbmHalfBrite", IlbmBuilder().FormType("PBM ").Bmhd(2, 1, 8).Cmap(kCmap).Camg(0x80).Body({33, 2}).Bytes(), 1, 2, 1,
         {{0, 1, 0x505860}, {1, 1, kC2}}},
        // CTBL colour 1 = 0xF80, each nibble times 16.
        {"PbmCtbl", IlbmBuilder().FormType("PBM ").Bmhd(2, 1, 8).Cmap(kCmap).Ctbl(pbmCtbl).Body({1, 0}).Bytes(), 1, 2, 1,
         {{0, 1, 0xF08000}, {1, 1, 0}}},
        // Only plane 0 of row 1 is present: the rest reads 0.
        {"AcbmShortAbit", IlbmBuilder().FormType("ACBM").Bmhd(4, 2, 2).Cmap(kCmap).Camg(0).Chunk("ABIT", {0xA0, 0}).Bytes(), 1,
         4, 2, {{0, 1, kC1}, {1, 1, kC0}, {2, 1, kC1}, {0, 2, kC0}, {2, 2, kC0}}},
        // No pixels decoded: as with no BODY, the picture stays all zero.
        {"AcbmIgnoresBody", IlbmBuilder().FormType("ACBM").Bmhd(8, 1, 1).Cmap(kCmap).Camg(0).Body({0xFF, 0xFF}).Bytes(), 1, 8,
         1, {{0, 1, 0}, {7, 1, 0}}},
        {"IlbmIgnoresAbit", Ilbm(8, 1, 1).Camg(0).Chunk("ABIT", {0xFF, 0xFF}).Bytes(), 1, 8, 1, {{0, 1, 0}, {7, 1, 0}}},
        // VDAT: a command count word (2 + the command bytes), the commands, the data
        // words. A repeat of 127 words into a plane of 2 words, then a copy whose data is missing.
        {"VdatRunPastPlane", Ilbm(16, 2, 1, 2).Camg(0).Body({'V', 'D', 'A', 'T', 0, 0, 0, 6, 0, 4, 127, 0x9C, 0x80, 0x01}).Bytes(), 1, 16, 2,
         {{0, 1, kC1}, {1, 1, kC0}, {14, 1, kC0}, {15, 1, kC1}, {0, 2, kC1}, {1, 2, kC0}, {15, 2, kC1}}},
        // Two planes declared, one VDAT present (count word 1: repeat 0xFFFF).
        {"VdatMissingPlane", Ilbm(16, 1, 2, 2).Camg(0).Body({'V', 'D', 'A', 'T', 0, 0, 0, 7, 0, 3, 1, 0, 1, 0xFF, 0xFF, 0}).Bytes(), 1, 16, 1,
         {{0, 1, kC1}, {15, 1, kC1}}},
        // ---- Line palettes: CTBL, SHAM, PCHG ----------------------------------------
        // CTBL of 4 lines for 2 rows: colour 1 of line 0 is 0xABC -> A0B0C0, of line 1 0x123.
        {"CtblLongerThanPicture", Ilbm(8, 2, 4).Camg(0).Ctbl(ctbl).Body({0xF0, 0, 0, 0, 0, 0, 0, 0, 0x0F, 0, 0, 0, 0, 0, 0, 0}).Bytes(),
         1, 8, 2, {{0, 1, 0xA0B0C0}, {4, 1, 0}, {3, 2, 0}, {4, 2, 0x102030}}},
        // A line palette covers colours 0-15; colour 16 stays the CMAP's.
        {"CtblKeepsColour16", IlbmBuilder().Bmhd(1, 1, 5).Cmap(std::vector<uint32_t>(17, 0xABCDEF)).Camg(0)
             .Ctbl(std::vector<uint16_t>(16, 0x0FFF)).Body(IndexPicture(1, 1, {16}), {5}).Bytes(), 1, 1, 1, {{0, 1, 0xABCDEF}}},
        // One SHAM line (components times 17) for two rows: row 2 is black.
        {"ShamShort", Ilbm(1, 2, 1).Camg(0).Sham(ColourOneLines({0x0FFF})).Body({0x80, 0, 0x80, 0}).Bytes(), 1, 1, 2,
         {{0, 1, 0xFFFFFF}, {0, 2, 0}}},
        // HAM6 holds from the line's colour 1: "red = 5" after 0xF00, "green = A" after 0x00F.
        {"ShamHam6", Ilbm(2, 2, 6).Camg(0x800).Sham(ColourOneLines({0x0F00, 0x000F}))
             .Body(IndexPicture(2, 2, {1, 0x25, 1, 0x3A}), {6}).Bytes(), 1, 2, 2,
         {{0, 1, 0xFF0000}, {1, 1, 0x550000}, {0, 2, 0x0000FF}, {1, 2, 0x00AAFF}}},
        {"PchgHam6", Ilbm(2, 2, 6).Camg(0x800).Pchg(PchgData({false, 1, 1, false}, {{1, {0x100F}, {}, {}}}))
             .Body(IndexPicture(2, 2, {1, 0x25, 1, 0x3A}), {6}).Bytes(), 1, 2, 2,
         {{0, 1, kC1}, {1, 1, 0x55B0C0}, {0, 2, 0x0000FF}, {1, 2, 0x00AAFF}}},
        // Lines -2 and 0 change colour 1: the later line wins on row 1.
        {"PchgLinesAboveThePicture", WithPchg(PchgData({false, -2, 3, false}, {{-2, {0x1F00}, {}, {}}, {0, {0x100F}, {}, {}}})),
         1, 1, 2, {{0, 1, 0x0000FF}, {0, 2, 0x0000FF}}},
        // Register 17 from a Count32 word; with Extra-Half-Brite colour 33 is half the changed colour 1.
        {"PchgUpperRegistersHalfBrite", Ilbm(3, 1, 6).Camg(0x80).Pchg(PchgData({false, 0, 1, false}, {{0, {0x1FFF}, {0x1ABC}, {}}}))
             .Body(IndexPicture(3, 1, {1, 17, 33}), {6}).Bytes(), 1, 3, 1,
         {{0, 1, 0xFFFFFF}, {1, 1, 0xAABBCC}, {2, 1, 0x7F7F7F}}},
        {"ShamOverPchg", shamAndPchg(true), 1, 1, 1, {{0, 1, 0x112233}}},
        {"ShamOverLaterPchg", shamAndPchg(false), 1, 1, 1, {{0, 1, 0x112233}}},
        // A second, unreadable PCHG drops the first one's changes.
        {"SecondPchgUnreadable", Ilbm(8, 1, 1).Camg(0).Pchg(pchg).Pchg(Bytes(20, 0)).Body({0xF0, 0}).Bytes(), 1, 8, 1,
         {{0, 1, kC1}, {4, 1, kC0}}},
        // Broken PCHG chunks change only what their readable data says.
        {"PchgGood", WithPchg(pchg), 1, 1, 2, {{0, 1, 0xFF0000}, {0, 2, 0xFF0000}}},
        {"PchgUnknownCompression", WithPchg(Edit(pchg, {{1, 7}})), 1, 1, 2, {{0, 1, kC1}, {0, 2, kC1}}},
        {"PchgNoChangeKind", WithPchg(Edit(pchg, {{3, 0}})), 1, 1, 2, {{0, 1, kC1}, {0, 2, kC1}}},
        {"PchgEndsAfterTheMask", WithPchg(Prefix(pchg, 24)), 1, 1, 2, {{0, 1, kC1}, {0, 2, kC1}}},
        {"PchgShortHeader", WithPchg(Prefix(pchg, 10)), 1, 1, 2, {{0, 1, kC1}, {0, 2, kC1}}},
        // 255 + 255 changes claimed, one word there: it changes colour 1.
        {"PchgCountsBeyondTheData", WithPchg(Edit(pchg, {{24, 0xFF}, {25, 0xFF}})), 1, 1, 2,
         {{0, 1, 0xFF0000}, {0, 2, 0xFF0000}}},
        {"PchgBigCountBeyondTheData",
         WithPchg(Edit(PchgData({true, 0, 1, false}, {{0, {}, {}, {}}}), {{24, 0xFF}, {25, 0xFF}})), 1, 1, 2,
         {{0, 1, kC1}, {0, 2, kC1}}},
        // A Huffman tree whose words jump before its start, so no path reaches a leaf.
        {"PchgTreeOutsideItself", WithPchg(badTree), 1, 1, 2, {{0, 1, kC1}, {0, 2, kC1}}},
        {"PchgEmptyTree", WithPchg(Edit(PchgData({false, 0, 1, true}, {{0, {0x1F00}, {}, {}}}), {{20, 0}, {21, 0}, {22, 0}, {23, 0}})),
         1, 1, 2, {{0, 1, kC1}, {0, 2, kC1}}},
        {"PchgTreeLongerThanTheChunk", WithPchg(Edit(badTree, {{20, 0x7F}})), 1, 1, 2, {{0, 1, kC1}, {0, 2, kC1}}},
    };
}

class MalformedFile : public testing::TestWithParam<Case> {};

TEST_P(MalformedFile, EndsInItsOutcome) {
    const Case& c = GetParam();
    PictureContext pic;
    // The picture before: 8 x 2, no CMAP, a PCHG making colours 0 and 1 red.
    const Bytes before = IlbmBuilder().Bmhd(8, 2, 1).Camg(0)
        .Pchg(PchgData({false, 0, 1, false}, {{0, {0x0F00, 0x1F00}, {}, {}}})).Body({0xFF, 0, 0x0F, 0}).Bytes();
    ASSERT_EQ(pic.Load_IFF_From_Memory("before.iff", before), 1);
    ASSERT_EQ(pic.ColourAt(0, 1), 0xFF0000u);
    pic.ImageByteBudget = c.budget;
    int outcome;
    try {
        outcome = pic.Load_IFF_From_Memory("case.iff", c.file);
    } catch (const RunTimeError& e) {
        outcome = e.Number();
    }
    ASSERT_EQ(outcome, c.outcome);
    if (outcome != 1) {
        // Refused before anything is allocated: the last picture's arrays stay.
        if (outcome != kOverflow) {
            EXPECT_EQ(pic.ImageStride(), 9);
            EXPECT_EQ(pic.ColourAt(0, 1), 0xFF0000u);
        }
        return;
    }
    EXPECT_EQ(pic.IlbmInfo.Width, c.width);
    EXPECT_EQ(pic.IlbmInfo.Height, c.height);
    EXPECT_EQ(pic.ImageStride(), c.width + 1);
    EXPECT_EQ(pic.ImageRows(), c.height + 1);
    for (const Pixel& p : c.pixels)
        EXPECT_EQ(pic.ColourAt(p.x, p.y), p.colour) << "pixel (" << p.x << ", " << p.y << ")";
    // The column after the last pixel holds index 0; the BMP has 4 bytes a pixel.
    for (int32_t y = 1; y <= c.height; ++y) ASSERT_EQ(pic.ChunkyAt(c.width, y), 0) << "row " << y;
    EXPECT_EQ(BuildBitmapFile(pic, c.width, c.height).size(), c.width && c.height ? 54 + 4 * size_t(c.width * c.height) : 0);
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedFile, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
}  // namespace planora::test
