// Colour cycling: ranges read from chunk bytes (well formed and broken) and
// moved by hand-worked numbers of steps at given moments (a fake clock: the
// palette is asked for at a time, nothing waits), and the pictures the
// cycled palette gives. One full period is checked in apng_test.cpp.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "decode/colour_cycling.h"
#include "motion_support.h"

namespace planora {
namespace {

// A range as tests/data/cycling_steps.tsv writes it: the chunk ID, then its
// fields, each as many bytes as the chunk's layout gives it.
ColourRange Range(const std::string& text) {
    std::istringstream in(text);
    std::string id;
    in >> id;
    const std::vector<int> widths = id == "CRNG" ? std::vector{2, 2, 2, 1, 1} : id == "CCRT" ? std::vector{2, 1, 1, 4, 4} : std::vector{1, 1, 2, 2};
    std::vector<uint8_t> d;
    for (int64_t value, i = 0; in >> value; ++i)
        for (int b = i < int64_t(widths.size()) ? widths[size_t(i)] : 1; b-- > 0;) d.push_back(uint8_t(value >> (8 * b)));
    return (id == "CRNG" ? ReadCrng : id == "CCRT" ? ReadCcrt : ReadDrng)(std::span<const uint8_t>(d));
}

// The picture's colours with its ranges moved for `micros`.
std::vector<uint32_t> Cycled(PictureContext& pic, int64_t micros) {
    ColourTable palette{};
    CyclePalette(pic.ColourRanges, pic.Palette, micros, pic.IlbmInfo.HalfBriteFlag == 1, palette);
    std::vector<uint32_t> out(size_t(pic.ImageStride()) * size_t(pic.ImageRows()));
    pic.MapPictureWithPalette(palette, out.data());
    return out;
}

// Register i holds 0x040404 * (i % 64) at the start, so every register of
// the table differs and halves stay exact.
ColourTable Base() {
    ColourTable base{};
    for (int i = 0; i < kPaletteEntries; ++i) base[size_t(i)] = 0x040404u * uint32_t(i % 64);
    return base;
}

// Every row of tests/data/cycling_steps.tsv: the ranges moved for the row's
// time from the start colours, against the colours worked out by hand.
TEST(Cycling, RangesStepAsWorkedOutByHand) {
    std::ifstream table(test::DataFile("cycling_steps.tsv"));
    int rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line[0] == '#' || line.starts_with("name\t")) continue;
        std::istringstream in(line);
        std::string name, ranges, micros, halfBrite, changed;
        for (std::string* field : {&name, &ranges, &micros, &halfBrite, &changed}) std::getline(in, *field, '\t');
        SCOPED_TRACE(name);
        ++rows;
        std::vector<ColourRange> read;
        std::istringstream chunks(ranges);
        for (std::string chunk; std::getline(chunks, chunk, ';');) read.push_back(Range(chunk));
        ColourTable expected = Base(), got{};
        for (int i = 0; i < 32 && halfBrite == "1"; ++i) expected[size_t(32 + i)] = 0x020202u * uint32_t(i);
        std::istringstream changes(changed);
        for (size_t reg; changes >> reg;) {
            std::string from;
            changes.ignore() >> from;  // after the "="
            expected.at(reg) = from[0] == '#' ? std::stoul(from.substr(1), nullptr, 16) : Base().at(std::stoul(from));
        }
        CyclePalette(read, Base(), std::stoll(micros), halfBrite == "1", got);
        EXPECT_EQ(got, expected);
    }
    EXPECT_EQ(rows, 19);
}

// A HAM6 row remaps from the cycled base colours: base 1, then blue set to
// 5 and red to 3 from it; CRNG 1-2 swaps colours 1 and 2.
TEST(Cycling, HamRowsRemapFromCycledBaseColours) {
    std::vector<uint32_t> cmap(16, 0);
    cmap[1] = 0x102030, cmap[2] = 0xA0B0C0;
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_From_Memory("ham.iff", test::IlbmBuilder().Bmhd(3, 1, 6).Cmap(cmap).Camg(0x800)
                  .Chunk("CRNG", {0, 0, 0x40, 0, 0, 1, 1, 2}).Body({3, 1, {1, 0x10 | 5, 0x20 | 3}}, {6}).Bytes()), 1);
    const std::vector<uint32_t> out = Cycled(pic, 16667);
    EXPECT_EQ(std::vector<uint32_t>(&out[4], &out[7]), (std::vector<uint32_t>{0xA0B0C0, 0xA0B055, 0x33B055}));
    EXPECT_EQ(pic.ColourAt(2, 1), 0x332055u);  // the stored picture is unchanged
}

// Pictures with active colour ranges over the palettes no real file below
// has, made here: CRNG ranges forward (8-15), reversed (12-18) and of the
// SHAM base colours (1-6), a DRNG of register cells (3, 4), (5, 6), (7, 8),
// over plain, Extra-Half-Brite, HAM8, SHAM and PCHG palettes.
std::vector<std::pair<std::string, test::Buf>> CyclingPictures() {
    std::mt19937 rng(7);
    const test::Buf forward = {0, 0, 0x0A, 0, 0, 1, 8, 15}, reversed = {0, 0, 0x14, 0, 0, 3, 12, 18}, base = {0, 0, 0x20, 0, 0, 1, 1, 6},
                    drng = {3, 9, 0x0C, 0, 0, 1, 0, 3, 3, 4, 5, 6, 7, 8};
    test::Buf sham(2 + 32 * 12);
    for (size_t i = 2; i < sham.size(); ++i) sham[i] = uint8_t(rng() & (i % 2 ? 0xFF : 0x0F));
    std::vector<test::PchgLine> lines;
    for (int32_t line = 1; line < 12; line += 2) lines.push_back({line, {uint16_t(0x1000 | (rng() & 0xFFF))}, {uint16_t(rng())}, {}});
    const auto make = [&](int planes, size_t colours, uint32_t camg, const char* id, const test::Buf& data, const test::Buf& range) {
        test::IndexPicture picture(40, 12);
        for (uint8_t& index : picture.Pixels) index = uint8_t(rng() % (1u << planes));
        std::vector<uint32_t> cmap(colours);
        for (uint32_t& colour : cmap) colour = rng() & 0xFFFFFF;
        test::IlbmBuilder file;
        file.Bmhd(40, 12, planes, 1).Cmap(cmap).Camg(camg).Chunk(id, data).Chunk("CRNG", range);
        return file.Body(picture, {planes, test::Packing::ByteRun1}).Bytes();
    };
    return {{"drng", make(5, 32, 0x4000, "DRNG", drng, reversed)}, {"halfbrite", make(6, 32, 0x80, "CRNG", forward, forward)},
            {"ham8", make(8, 64, 0x800, "CRNG", forward, reversed)}, {"sham", make(4, 16, 0, "SHAM", sham, base)},
            {"pchg", make(5, 32, 0, "PCHG", test::PchgData({false, 0, 12, false}, lines), forward)}};
}

// At time 0 the palette is the stored one, and mapping the indices with it
// gives the loaded picture again, line palettes included: for the pictures
// above and for real files from other programs.
TEST(Cycling, StartIsTheStoredPicture) {
    std::vector<std::pair<std::string, test::Buf>> pictures = CyclingPictures();
    for (const char* name : {"cycling_skywave4.iff", "ham6_serenity.iff", "pchg_big_ehb_kde.iff"})
        pictures.emplace_back(name, test::ReadBytes(test::DataFile(name)));
    for (const auto& [name, bytes] : pictures) {
        SCOPED_TRACE(name);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory(name, bytes), 1);
        if (!name.ends_with(".iff")) ASSERT_TRUE(HasActiveRanges(pic.ColourRanges));
        const std::vector<uint32_t> out = Cycled(pic, 0);
        const size_t stride = size_t(pic.ImageStride());
        int64_t differing = 0;
        for (int32_t y = 1; y <= pic.IlbmInfo.Height; ++y)
            for (int32_t x = 0; x < pic.IlbmInfo.Width; ++x) differing += out[size_t(y) * stride + size_t(x)] != pic.ColourAt(x, y);
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace
}  // namespace planora
