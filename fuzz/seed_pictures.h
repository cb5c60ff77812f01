// Small valid pictures of every mode the loader knows, built with
// IlbmBuilder: the fuzz targets' seed corpora and the starting points of the
// robustness test, so each seed's making is shown in code rather than kept as
// a hand-edited binary.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ilbm_builder.h"

namespace planora::test::seeds {

using NamedFile = std::pair<std::string, std::vector<uint8_t>>;

inline constexpr int32_t kWidth = 19;  // odd, so rows carry padding pixels
inline constexpr int32_t kHeight = 7;

inline IndexPicture Pattern(int planes) {
    IndexPicture picture(kWidth, kHeight);
    const int colours = 1 << planes;
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x) picture.At(x, y) = uint8_t((x * 3 + y * 5 + x * y) % colours);
    return picture;
}

inline std::vector<uint32_t> Colours(int count) {
    std::vector<uint32_t> colours;
    for (int i = 0; i < count; ++i) colours.push_back(uint32_t(i * 0x030507) & 0xFFFFFF);
    return colours;
}

// CAMG 0x8000 (high resolution) is an ordinary palette picture.
inline std::vector<uint8_t> Picture(int planes, Packing packing, uint32_t camg, bool mask = false) {
    IlbmBuilder file;
    file.Bmhd(kWidth, kHeight, planes, packing == Packing::ByteRun1 ? 1 : 0, mask ? 1 : 0);
    file.Cmap(Colours(1 << (planes > 6 ? 6 : planes)));
    if (camg != 0) file.Camg(camg);
    file.Body(Pattern(planes), {planes, packing, mask});
    return file.Bytes();
}

inline std::vector<uint16_t> CtblLines() {
    std::vector<uint16_t> words;
    for (int line = 0; line < kHeight; ++line)
        for (int c = 0; c < 16; ++c) words.push_back(uint16_t((line * 0x111 + c * 0x021) & 0x0FFF));
    return words;
}

// Deep pictures: 0xAARRGGBB per pixel, row-major.
inline std::vector<uint32_t> DeepPattern() {
    std::vector<uint32_t> argb;
    for (int32_t y = 0; y < kHeight; ++y)
        for (int32_t x = 0; x < kWidth; ++x)
            argb.push_back(uint32_t((x + y) * 17 & 0xFF) << 24 | uint32_t(x * 13 & 0xFF) << 16 |
                           uint32_t(y * 29 & 0xFF) << 8 | uint32_t(x * y * 7 & 0xFF));
    return argb;
}

inline std::vector<uint8_t> Deep(int planes, Packing packing) {
    return IlbmBuilder()
        .Bmhd(kWidth, kHeight, planes, packing == Packing::ByteRun1 ? 1 : 0)
        .Body(EncodeDeepBody(kWidth, kHeight, DeepPattern(), planes, packing))
        .Bytes();
}

inline std::vector<uint8_t> Pbm(Packing packing) {
    return IlbmBuilder()
        .FormType("PBM ")
        .Bmhd(kWidth, kHeight, 8, packing == Packing::ByteRun1 ? 1 : 0)
        .Cmap(Colours(256))
        .Camg(0)
        .Body(EncodePbmBody(Pattern(8), packing))
        .Bytes();
}

// Compression 2: one VDAT chunk per plane, the plane's words column by column
// (all rows of word column 0, then column 1). Runs of equal words become
// repeats, the rest copies; odd planes use the forms with a count word
// (commands 0 and 1), even planes the short forms (negative and 2-127).
inline std::vector<uint8_t> VdatBody(const IndexPicture& picture, int planes) {
    std::vector<uint8_t> body;
    const int32_t columns = PlaneRowBytes(picture.Width) / 2;
    for (int p = 0; p < planes; ++p) {
        std::vector<uint16_t> column;
        for (int32_t c = 0; c < columns; ++c)
            for (int32_t y = 0; y < picture.Height; ++y) {
                const auto row = PlaneRow(picture, y, p);
                column.push_back(uint16_t(row[size_t(2 * c)] << 8 | row[size_t(2 * c + 1)]));
            }
        std::vector<int8_t> commands;
        std::vector<uint16_t> words;
        const bool countWords = p % 2 == 1;
        for (size_t i = 0; i < column.size();) {
            size_t run = 1;
            while (i + run < column.size() && column[i + run] == column[i]) ++run;
            if (run >= 2) {
                if (countWords) {
                    commands.push_back(1);
                    words.push_back(uint16_t(run));
                } else {
                    commands.push_back(int8_t(run));
                }
                words.push_back(column[i]);
                i += run;
                continue;
            }
            size_t copy = 1;
            while (i + copy < column.size() &&
                   (i + copy + 1 >= column.size() || column[i + copy + 1] != column[i + copy]))
                ++copy;
            if (countWords) {
                commands.push_back(0);
                words.push_back(uint16_t(copy));
            } else {
                commands.push_back(int8_t(-int(copy)));
            }
            words.insert(words.end(), column.begin() + std::ptrdiff_t(i), column.begin() + std::ptrdiff_t(i + copy));
            i += copy;
        }
        const auto chunk = VdatChunk(commands, words);
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    return body;
}

// PCHG lines 0 .. kHeight - 1 of which 0, 2, 3 and 6 change: small changes
// to registers 1-15 and 16-31, or big changes to registers up to 255.
inline std::vector<uint8_t> PchgSeed(bool big, bool huffman, int32_t startLine) {
    std::vector<PchgLine> lines;
    for (int32_t line : {0, 2, 3, 6}) {
        PchgLine change{startLine + line, {}, {}, {}};
        if (big) {
            change.Big = {{uint16_t(line * 9 + 1), 0, uint8_t(line * 40), uint8_t(255 - line * 30), 0x5A},
                          {uint16_t(40 + line * 30), 0xFF, 0x12, 0x34, 0x56}};
        } else {
            change.Low = {uint16_t((line + 1) << 12 | (line * 0x123 & 0xFFF)), 0xF0F0};
            change.High = {uint16_t(line << 12 | 0x0ABC)};
        }
        lines.push_back(change);
    }
    return PchgData(PchgOptions{big, startLine, kHeight, huffman}, lines);
}

// Whole files for the load target.
inline std::vector<NamedFile> LoadSeeds() {
    std::vector<NamedFile> files;
    for (int planes = 1; planes <= 8; ++planes) {
        const std::string n = std::to_string(planes);
        files.push_back({"planes" + n + "_raw.iff", Picture(planes, Packing::Raw, 0x8000)});
        files.push_back({"planes" + n + "_byterun1.iff", Picture(planes, Packing::ByteRun1, 0x8000)});
    }
    files.push_back({"ehb.iff", Picture(6, Packing::ByteRun1, 0x80)});
    files.push_back({"ham6.iff", Picture(6, Packing::ByteRun1, 0x800)});
    files.push_back({"ham8.iff", Picture(8, Packing::ByteRun1, 0x800)});
    files.push_back({"ham6_interlace_raw.iff", Picture(6, Packing::Raw, 0x804)});
    files.push_back({"no_camg.iff", Picture(4, Packing::ByteRun1, 0)});
    files.push_back({"mask1.iff", Picture(3, Packing::ByteRun1, 0x8000, true)});
    files.push_back({"mask1_raw.iff", Picture(5, Packing::Raw, 0x8000, true)});
    files.push_back({"ctbl.iff", IlbmBuilder()
                                     .Bmhd(kWidth, kHeight, 4, 1)
                                     .Cmap(Colours(16))
                                     .Camg(0x8000)
                                     .Ctbl(CtblLines())
                                     .Body(Pattern(4), {4, Packing::ByteRun1})
                                     .Bytes()});
    files.push_back({"ctbl_ham6.iff", IlbmBuilder()
                                          .Bmhd(kWidth, kHeight, 6, 0)
                                          .Cmap(Colours(16))
                                          .Camg(0x800)
                                          .Ctbl(CtblLines())
                                          .Body(Pattern(6), {6, Packing::Raw})
                                          .Bytes()});
    files.push_back({"camg_after_body.iff", IlbmBuilder()
                                                .Bmhd(kWidth, kHeight, 6, 1)
                                                .Cmap(Colours(16))
                                                .Body(Pattern(6), {6, Packing::ByteRun1})
                                                .Camg(0x800)
                                                .Bytes()});
    files.push_back({"chunks_before_bmhd.iff", IlbmBuilder()
                                                   .Chunk("ANNO", {'s', 'e', 'e', 'd'})
                                                   .Chunk("NAME", {'o', 'd', 'd'})
                                                   .Cmap(Colours(4))
                                                   .Bmhd(kWidth, kHeight, 2, 1)
                                                   .Camg(0)
                                                   .Body(Pattern(2), {2, Packing::ByteRun1})
                                                   .Bytes()});
    files.push_back({"pbm_raw.iff", Pbm(Packing::Raw)});
    files.push_back({"pbm_byterun1.iff", Pbm(Packing::ByteRun1)});
    files.push_back({"acbm.iff", IlbmBuilder()
                                     .FormType("ACBM")
                                     .Bmhd(kWidth, kHeight, 5)
                                     .Cmap(Colours(32))
                                     .Camg(0)
                                     .Chunk("ABIT", EncodeAbit(Pattern(5), 5))
                                     .Bytes()});
    files.push_back({"deep24_raw.iff", Deep(24, Packing::Raw)});
    files.push_back({"deep24_byterun1.iff", Deep(24, Packing::ByteRun1)});
    files.push_back({"deep32_raw.iff", Deep(32, Packing::Raw)});
    files.push_back({"deep32_byterun1.iff", Deep(32, Packing::ByteRun1)});
    files.push_back({"vdat.iff", IlbmBuilder()
                                     .Bmhd(kWidth, kHeight, 4, 2)
                                     .Cmap(Colours(16))
                                     .Camg(0)
                                     .Body(VdatBody(Pattern(4), 4))
                                     .Bytes()});
    files.push_back({"sham.iff", IlbmBuilder()
                                     .Bmhd(kWidth, kHeight, 4, 1)
                                     .Cmap(Colours(16))
                                     .Camg(0)
                                     .Sham(CtblLines())
                                     .Body(Pattern(4), {4, Packing::ByteRun1})
                                     .Bytes()});
    files.push_back({"sham_ham6.iff", IlbmBuilder()
                                          .Bmhd(kWidth, kHeight, 6, 1)
                                          .Cmap(Colours(16))
                                          .Camg(0x800)
                                          .Sham(CtblLines())
                                          .Body(Pattern(6), {6, Packing::ByteRun1})
                                          .Bytes()});
    files.push_back({"pchg_small.iff", IlbmBuilder()
                                           .Bmhd(kWidth, kHeight, 5, 1)
                                           .Cmap(Colours(32))
                                           .Camg(0x8000)
                                           .Pchg(PchgSeed(false, false, 0))
                                           .Body(Pattern(5), {5, Packing::ByteRun1})
                                           .Bytes()});
    files.push_back({"pchg_huffman.iff", IlbmBuilder()
                                             .Bmhd(kWidth, kHeight, 4, 1)
                                             .Cmap(Colours(16))
                                             .Camg(0)
                                             .Pchg(PchgSeed(false, true, 0))
                                             .Body(Pattern(4), {4, Packing::ByteRun1})
                                             .Bytes()});
    files.push_back({"pchg_big_ehb.iff", IlbmBuilder()
                                             .Bmhd(kWidth, kHeight, 6, 1)
                                             .Cmap(Colours(32))
                                             .Pchg(PchgSeed(true, false, -1))
                                             .Body(Pattern(6), {6, Packing::ByteRun1})
                                             .Camg(0x80)
                                             .Bytes()});
    files.push_back({"pchg_big_huffman_ham6.iff", IlbmBuilder()
                                                      .Bmhd(kWidth, kHeight, 6, 0)
                                                      .Cmap(Colours(16))
                                                      .Camg(0x800)
                                                      .Pchg(PchgSeed(true, true, 1))
                                                      .Body(Pattern(6), {6, Packing::Raw})
                                                      .Bytes()});
    return files;
}

// The BODY target's input: four shape bytes (see byterun1_fuzzer.cpp), then
// the BODY data.
inline std::vector<uint8_t> BodySeed(int planes, Packing packing, bool mask) {
    std::vector<uint8_t> seed = {0, uint8_t(kWidth - 1), uint8_t(kHeight - 1),
                                 uint8_t((planes - 1) | (mask ? 8 : 0) | (packing == Packing::Raw ? 16 : 0))};
    const auto body = EncodeBody(Pattern(planes), {planes, packing, mask});
    seed.insert(seed.end(), body.begin(), body.end());
    return seed;
}

inline std::vector<NamedFile> BodySeeds() {
    std::vector<NamedFile> files;
    for (int planes = 1; planes <= 8; ++planes) {
        const std::string n = std::to_string(planes);
        files.push_back({"planes" + n + "_raw", BodySeed(planes, Packing::Raw, false)});
        files.push_back({"planes" + n + "_byterun1", BodySeed(planes, Packing::ByteRun1, false)});
    }
    files.push_back({"mask_byterun1", BodySeed(4, Packing::ByteRun1, true)});
    files.push_back({"mask_raw", BodySeed(2, Packing::Raw, true)});
    return files;
}

}  // namespace planora::test::seeds
