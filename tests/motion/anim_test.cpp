// FORM ANIM playback: every frame of the corpus animations and of animations
// with operations 7 and 8 (tests/data/anim) against ffmpeg and the frames
// they were made from; broken animations with the frame they end at; a
// truncation and byte-flip sweep that must end cleanly.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "decode/anim_player.h"
#include "motion_support.h"

namespace planora {
namespace {

// Plays `name`.anim on through its loop frames into the second round: every
// frame equals ffmpeg's (when `ffmpeg`) and the palette indices of `source`
// (when given: one byte a pixel, frame after frame).
void ExpectFramesAgree(const std::string& name, const std::string& source, size_t inFile, size_t shown, bool ffmpeg) {
    SCOPED_TRACE(name);
    const std::string path = test::DataFile(name + ".anim");
    const auto indices = source.empty() ? std::vector<uint8_t>() : test::ReadBytes(test::DataFile(source));
    PictureContext pic;
    ASSERT_EQ(pic.Load_IFF_To_Array(path), 1);
    AnimPlayer player(pic);
    EXPECT_EQ(player.Problem(), "");
    EXPECT_EQ(player.FrameCount(), shown);
    const int32_t width = pic.IlbmInfo.Width, height = pic.IlbmInfo.Height;
    if (!source.empty()) {
        ASSERT_EQ(indices.size(), inFile * size_t(width * height));
    }
    std::vector<test::RgbPicture> reference;
    if (ffmpeg && test::HaveTool("ffmpeg")) {
        reference = test::FfmpegFrames(path, width, height);
        ASSERT_EQ(reference.size(), inFile);
    }
    for (size_t step = 0, f = 0; step < inFile + 3; f = ++step % shown, player.Next()) {
        int64_t differing = 0;
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                if (!reference.empty()) differing += pic.ColourAt(x, y + 1) != reference[f].At(x, y);
                if (!indices.empty()) differing += pic.ChunkyAt(x, y + 1) != indices[(f * height + y) * width + x];
            }
        EXPECT_EQ(differing, 0) << "step " << step;
    }
}

// color_balls: 4 planes, op 5, its last two frames repeat the first two (a
// DPAN says 12 frames); ham6_cmaps: HAM6, op 5, a CMAP in every frame;
// cmap_change: the pixels of frame 1 in new colours from frame 2 on; the op
// files: 9 frames each; the anim/ files' palette indices are in the .idx
// beside them. ffmpeg reads the last long column of plane rows that are not
// a whole number of longs otherwise, so op8_long_part is checked against its
// indices only.
TEST(Anim, EveryFrameAgreesWithFfmpegAndTheSource) {
    const struct { std::string name; size_t inFile = 9, shown = 9; bool ffmpeg = true; } rows[] = {
        {"color_balls", 14, 12}, {"anim/ham6_cmaps", 10, 10}, {"anim/op7_short"}, {"anim/op7_short_odd"},
        {"anim/op7_long"}, {"anim/op8_short"}, {"anim/op8_short_odd"}, {"anim/op8_long"},
        {"anim/op8_long_part", 9, 9, false}, {"anim/cmap_change", 3, 3},
    };
    for (const auto& row : rows)
        ExpectFramesAgree(row.name, row.name.starts_with("anim/") ? row.name + ".idx" : "", row.inFile, row.shown,
                          row.ffmpeg);
}

// tests/data/anim_ops.tsv: the animations tools/make_test_anims.py encodes,
// one a row: operation 2, 3, 5 with XOR, J (with and without XOR), d, e and
// l (vertical and horizontal) x width (odd, narrower and not narrower than
// Sculpt's screen, long columns half outside) x planes (2 to 8) x interleave
// 0 and 1; ffmpeg ignores the interleave and refuses operation 2 and
// interlaced Scala deltas, so those rows are checked against the source only.
TEST(Anim, EveryDeltaOperationAgreesWithFfmpegAndTheEncoder) {
    std::ifstream table(test::DataFile("anim_ops.tsv"));
    size_t rows = 0;
    for (std::string line; std::getline(table, line);) {
        if (line.starts_with("#")) continue;
        std::istringstream fields(line);
        std::string name, source, ffmpeg;
        size_t frames = 0;
        fields >> name >> source >> frames >> ffmpeg;
        ExpectFramesAgree(name, source, frames, frames, ffmpeg == "yes");
        ++rows;
    }
    EXPECT_EQ(rows, 19u);
}

// Each broken_* file holds a whole first frame, an op 5 frame that changes
// nothing and a third frame broken as named; broken_cut is op8_short_odd
// without its last 10 bytes. The animation ends at the last frame that
// decodes, with a message, and plays on within the frames that decode.
TEST(Anim, BrokenAnimationsEndAtTheLastGoodFrame) {
    const std::string end = "; the animation ends at frame 2";
    const struct { const char* name; std::string problem; size_t frames = 2; } rows[] = {
        {"op6", "frame 3 uses delta operation 6, which is not decoded" + end},
        {"interleave3", "frame 3 changes the frame 3 back, not 1 or 2" + end},
        {"list_outside", "frame 3 has a DLTA that points outside itself" + end},
        {"run_past_end", "frame 3 has a DLTA that points outside itself" + end},
        {"no_dlta", "frame 3 has no picture data" + end},
        {"another_size", "frame 3 has another size than the first" + end},
        {"another_depth", "frame 3 has another size than the first" + end},
        {"cut", "the file ends inside frame 9", 8},
    };
    // For operations 2, 3, J, d, e and l: frame 3's DLTA cut 5 bytes short,
    // frame 3 writing below the plane, the file cut inside frame 4.
    const std::pair<const char*, std::string> kinds[] = {
        {"past_chunk", "frame 3 has a DLTA that points outside itself" + end},
        {"past_plane", "frame 3 has a DLTA that writes outside the picture" + end},
        {"cut", "the file ends inside frame 4"}};
    for (const char* op : {"2", "3", "J", "d", "e", "l"})
        for (const auto& [kind, problem] : kinds) {
            const std::string name = op + std::string("_") + kind;
            SCOPED_TRACE(name);
            PictureContext pic;
            ASSERT_EQ(pic.Load_IFF_To_Array(test::DataFile("anim/broken_" + name + ".anim")), 1);
            AnimPlayer player(pic);
            EXPECT_EQ(player.Problem(), problem);
            EXPECT_EQ(player.FrameCount(), name.ends_with("_cut") ? 3u : 2u);
        }
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_To_Array(test::DataFile("anim/broken_" + std::string(row.name) + ".anim")), 1);
        AnimPlayer player(pic);
        EXPECT_EQ(player.FrameCount(), row.frames);
        EXPECT_EQ(player.Problem(), row.problem);
        for (size_t i = 0; i < 2 * row.frames + 1; ++i) player.Next();
        EXPECT_EQ(player.Current(), 1u);
    }
}

// ---- Hand-built animations: 32 x 1, one plane, colours 000000 and FFFFFF ----

void Put(test::Buf& out, uint32_t value, int bytes) {
    while (bytes-- > 0) out.push_back(uint8_t(value >> (8 * bytes)));
}

// An ANHD whose other fields all differ from the ones the player reads:
// mask 0, 32 x 1 at (0, 0), abstime 1000, pad bytes 0.
test::Buf Anhd(uint8_t operation, uint8_t interleave, uint32_t bits, uint32_t reltime) {
    test::Buf a{operation, 0};
    for (const uint32_t word : {32u, 1u, 0u, 0u}) Put(a, word, 2);
    Put(a, 1000, 4);
    Put(a, reltime, 4);
    a.push_back(interleave);
    a.push_back(0);
    Put(a, bits, 4);
    a.resize(40, 0);
    return a;
}

// A DLTA: the table of 16 offsets, then the lists, each at the table entry
// given with it (0 plane 0, 8 the data list of operation 7's plane 0).
test::Buf Dlta(const std::vector<std::pair<int, test::Buf>>& lists) {
    test::Buf d(64, 0);
    for (const auto& [entry, list] : lists) {
        for (int i = 0; i < 4; ++i) d[size_t(4 * entry + i)] = uint8_t(d.size() >> (24 - 8 * i));
        d.insert(d.end(), list.begin(), list.end());
    }
    return d;
}

// The data of a FORM ILBM (its type and chunks), as a "FORM" chunk of the ANIM holds it.
test::Buf Frame(const test::IlbmBuilder& form) {
    const test::Buf bytes = form.Bytes();
    return {bytes.begin() + 8, bytes.end()};
}
test::Buf DeltaFrame(uint8_t operation, uint8_t interleave, uint32_t bits, uint32_t reltime, const test::Buf& dlta) {
    return Frame(test::IlbmBuilder().Chunk("ANHD", Anhd(operation, interleave, bits, reltime)).Chunk("DLTA", dlta));
}
// An operation 0 frame: a whole BODY with its own BMHD, at (3, 4).
test::Buf BodyFrame(uint32_t reltime, int32_t width, int32_t height, uint8_t planes, const test::Buf& body) {
    return Frame(test::IlbmBuilder()
                     .Chunk("ANHD", Anhd(0, 0, 0, reltime))
                     .Bmhd({.Width = width, .Height = height, .Xpos = 3, .Ypos = 4, .Bitplanes = planes})
                     .Body(body));
}

// The plane row of the picture's pixels, as hex.
std::string PlaneRow(const PictureContext& pic) {
    std::string hex;
    for (int32_t x = 0; x < 32; x += 8) {
        int byte = 0;
        for (int32_t b = 0; b < 8; ++b) byte = byte << 1 | (pic.ChunkyAt(x + b, 1) & 1);
        hex += "0123456789ABCDEF"[byte >> 4];
        hex += "0123456789ABCDEF"[byte & 15];
    }
    return hex;
}

// A CAT or LIST of type ANIM holding `anim`.
test::Buf Contained(const char* id, const test::Buf& anim) {
    test::Buf group(id, id + 4);
    Put(group, uint32_t(anim.size() + 4), 4);
    group.insert(group.end(), {'A', 'N', 'I', 'M'});
    group.insert(group.end(), anim.begin(), anim.end());
    return group;
}

// Rows worked by hand from a first frame F0000000 (its ANHD's reltime 99 is
// never used: the last frame stays for frame 1's reltime). Each ANHD field
// the player reads (operation, reltime, interleave, bits) and each part of
// the size check of a later frame's BMHD changes an outcome if read wrongly.
TEST(Anim, HeaderFieldsDecideTheFramesAndTheirTimes) {
    const std::string end = "; the animation ends at frame 2";
    const struct {
        std::string name;
        std::vector<test::Buf> frames;  // after the first
        std::vector<uint32_t> delays;
        std::vector<std::string> rows;  // the plane row of each frame shown
        std::string problem;
        uint16_t dpan = 0;  // a DPAN's frame count in the first frame
        std::vector<uint16_t> ansq = {};  // ANSQ entries: delta, ticks, ...
    } rows[] = {
        // 1: two back (interleave 0) is frame 0: byte 1 becomes 0F.
        // 2: interleave 1 changes frame 1; XOR FF onto byte 0 (two back would
        //    give 0F000000, no XOR FF0F0000).
        // 3: interleave 2 changes frame 1: bytes 0 and 3 set (one back would
        //    give 3C0F0081, XOR CC0F0081).
        {"op 5 interleave and XOR",
         {DeltaFrame(5, 0, 0, 3, Dlta({{0, {0, 1, 0x81, 0x0F, 0, 0}}})),
          DeltaFrame(5, 1, 2, 5, Dlta({{0, {1, 0x81, 0xFF, 0, 0, 0}}})),
          DeltaFrame(5, 2, 0, 7, Dlta({{0, {1, 0x81, 0x3C, 0, 0, 1, 0x81, 0x81}}}))},
         {3, 5, 7, 3},
         {"F0000000", "F00F0000", "0F0F0000", "3C0F0081"},
         ""},
        // 1: op 8 long: the one long column becomes FFFF0000 (read as words:
        //    no change).
        // 2: op 8 short, interleave 1: word column 1 becomes 00FF (two back
        //    would give F00000FF; read as longs the run leaves the DLTA).
        // 3: op 7 long, interleave 0: ops 01 81, data 0F0F0F0F (read as
        //    words: 0F0F then column 1 unchanged, 0F0F0000).
        // 4: op 5, interleave 0, no plane changed: frame 2 again.
        {"op 8 and op 7 long and short data",
         {DeltaFrame(8, 1, 1, 2, Dlta({{0, {0, 0, 0, 1, 0x80, 0, 0, 1, 0xFF, 0xFF, 0, 0}}})),
          DeltaFrame(8, 1, 0, 4, Dlta({{0, {0, 0, 0, 1, 0x80, 0x01, 0x00, 0xFF}}})),
          DeltaFrame(7, 0, 1, 6, Dlta({{0, {1, 0x81, 0, 0}}, {8, {0x0F, 0x0F, 0x0F, 0x0F}}})),
          DeltaFrame(5, 0, 0, 8, Dlta({}))},
         {2, 4, 6, 8, 2},
         {"F0000000", "FFFF0000", "FFFF00FF", "0F0F0F0F", "FFFF00FF"},
         ""},
        // Four frames whose last two repeat the first two (two back, no
        // change) are two frames and two loop frames.
        {"loop frames",
         {DeltaFrame(5, 0, 0, 3, Dlta({{0, {0, 1, 0x81, 0x0F, 0, 0}}})), DeltaFrame(5, 0, 0, 5, Dlta({})),
          DeltaFrame(5, 0, 0, 7, Dlta({}))},
         {3, 5},
         {"F0000000", "F00F0000"},
         ""},
        // 1: a whole BODY under a BMHD of the first frame's size (at another
        //    place); 2: a BMHD one line taller ends the animation.
        {"BMHD of a later frame",
         {BodyFrame(9, 32, 1, 1, {0x12, 0x34, 0x56, 0x78}), BodyFrame(9, 32, 2, 1, test::Buf(8, 0xAA))},
         {9, 9},
         {"F0000000", "12345678"},
         "frame 3 has another size than the first" + end},
        // A DPAN of 2 frames: the frames after them are not shown, and the
        // last stays for frame 1's reltime.
        {"DPAN frame count",
         {DeltaFrame(5, 0, 0, 3, Dlta({{0, {0, 1, 0x81, 0x0F, 0, 0}}})),
          DeltaFrame(5, 1, 2, 5, Dlta({{0, {1, 0x81, 0xFF, 0, 0, 0}}})), DeltaFrame(5, 0, 0, 7, Dlta({}))},
         {3, 3},
         {"F0000000", "F00F0000"},
         "",
         2},
        // ANSQ plays delta 0 (XOR FF onto byte 0), 1 (XOR 0F onto byte 3),
        // 0, 1, each one back, for the entry's ticks.
        {"ANSQ order",
         {DeltaFrame(5, 1, 2, 99, Dlta({{0, {1, 0x81, 0xFF, 0, 0, 0}}})),
          DeltaFrame(5, 1, 2, 99, Dlta({{0, {0, 0, 0, 1, 0x81, 0x0F}}}))},
         {4, 6, 8, 2, 4},
         {"F0000000", "0F000000", "0F00000F", "F000000F", "F0000000"},
         "",
         0,
         {0, 4, 1, 6, 0, 8, 1, 2}},
        {"ANSQ past the frames",
         {DeltaFrame(5, 1, 2, 99, Dlta({{0, {1, 0x81, 0xFF, 0, 0, 0}}}))},
         {4, 4},
         {"F0000000", "0F000000"},
         "ANSQ entry 2 names frame 7, which the file does not hold",
         0,
         {0, 4, 5, 4}},
    };
    for (const auto& row : rows) {
        test::IlbmBuilder first;
        first.Bmhd(32, 1, 1).Cmap({0x000000, 0xFFFFFF}).Chunk("ANHD", Anhd(0, 0, 0, 99));
        if (row.dpan) first.Chunk("DPAN", {0, 3, uint8_t(row.dpan >> 8), uint8_t(row.dpan), 15, 0, 0, 0});
        test::Buf ansq;
        for (const uint16_t value : row.ansq) Put(ansq, value, 2);
        if (!ansq.empty()) first.Chunk("ANSQ", ansq);
        test::IlbmBuilder anim;
        anim.FormType("ANIM").Chunk("FORM", Frame(first.Body({0xF0, 0, 0, 0})));
        for (const test::Buf& frame : row.frames) anim.Chunk("FORM", frame);
        // Alone, and as the only FORM of a CAT and of a LIST.
        for (const char* container : {"", "CAT ", "LIST"}) {
            SCOPED_TRACE(row.name + std::string(" in ") + container);
            PictureContext pic;
            const test::Buf bytes = *container ? Contained(container, anim.Bytes()) : anim.Bytes();
            ASSERT_EQ(pic.Load_IFF_From_Memory("built.anim", bytes), 1);
            ASSERT_TRUE(pic.IsAnimation());
            AnimPlayer player(pic);
            EXPECT_EQ(player.Problem(), row.problem);
            ASSERT_EQ(player.FrameCount(), row.rows.size());
            for (size_t i = 0; i < row.rows.size(); ++i, player.Next()) {
                EXPECT_EQ(player.DelayTicks(i), row.delays[i]) << "frame " << i;
                EXPECT_EQ(PlaneRow(pic), row.rows[i]) << "frame " << i;
            }
        }
    }
}

// Prefixes of the op 7 and op 8 animations, plain and with a byte flipped:
// load and playback end cleanly (the sanitizer build checks the accesses).
TEST(Anim, TruncationAndByteFlipSweepEndsCleanly) {
    for (const char* name : {"op7_short_odd", "op7_long", "op8_short_odd", "op8_long_part", "broken_run_past_end"}) {
        const std::vector<uint8_t> file = test::ReadBytes(test::DataFile("anim/" + std::string(name) + ".anim"));
        ASSERT_FALSE(file.empty());
        for (size_t cut = 1; cut <= file.size(); cut += 1 + file.size() / 600)
            for (int flip = -1; flip < 2; ++flip) {
                std::vector<uint8_t> bytes(file.begin(), file.begin() + std::ptrdiff_t(cut));
                if (flip >= 0) bytes[(cut * 7 + size_t(flip)) % cut] ^= uint8_t(0x80 >> flip);
                PictureContext pic;
                pic.ImageByteBudget = 1 << 20;
                try {
                    if (pic.Load_IFF_From_Memory("sweep.anim", bytes) != 1) continue;
                } catch (const std::exception&) {
                    continue;
                }
                AnimPlayer player(pic);
                for (size_t i = 0; i <= player.FrameCount(); ++i) player.Next();
                EXPECT_EQ(player.Current(), 1 % player.FrameCount());
            }
    }
}

}  // namespace
}  // namespace planora
