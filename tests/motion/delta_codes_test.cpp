// The codes of each delta operation worked by hand on two planes of 32 x 2
// pixels whose bytes all start as 0F: where a position, a run, a repeat, a
// step and an XOR land, and what ends a delta early. The encoded animations
// of anim_test.cpp cover whole pictures; these pin the reading of each code.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "decode/anim_offset_delta.h"
#include "decode/anim_scala_delta.h"
#include "decode/anim_sculpt_delta.h"
#include "decode/anim_word_list_delta.h"

namespace planora {
namespace {

std::vector<uint8_t> Hex(const std::string& text) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < text.size();)
        if (text[i] == ' ') ++i;
        else bytes.push_back(uint8_t(std::stoi(text.substr(i, 2), nullptr, 16))), i += 2;
    return bytes;
}

// A table of `count` longs: the given offsets, then zeros.
std::string Table(std::vector<std::string> offsets, size_t count) {
    offsets.resize(count, "00000000");
    std::string table;
    for (const std::string& offset : offsets) table += offset + " ";
    return table;
}

using Apply = std::function<DeltaResult(ByteSpan, const PlaneBuffer&)>;

TEST(DeltaCodes, EachCodeLandsWhereWorkedByHand) {
    const Apply shortOffsets = [](ByteSpan d, const PlaneBuffer& o) { return ApplyOffsetDelta(d, false, o); };
    const Apply longOffsets = [](ByteSpan d, const PlaneBuffer& o) { return ApplyOffsetDelta(d, true, o); };
    const Apply sculpt = [](ByteSpan d, const PlaneBuffer& o) { return ApplySculptDelta(d, o); };
    const Apply scalaLong = [](ByteSpan d, const PlaneBuffer& o) { return ApplyScalaDelta(d, true, o); };
    const Apply scalaShort = [](ByteSpan d, const PlaneBuffer& o) { return ApplyScalaDelta(d, false, o); };
    const Apply vertical = [](ByteSpan d, const PlaneBuffer& o) { return ApplyWordListDelta(d, false, o); };
    const Apply horizontal = [](ByteSpan d, const PlaneBuffer& o) { return ApplyWordListDelta(d, true, o); };
    const std::string same = "0F0F0F0F 0F0F0F0F";
    const struct {
        const char* name;
        Apply apply;
        std::string delta;
        std::string planes;  // plane 0 rows 0 and 1, plane 1 rows 0 and 1
        DeltaResult result = DeltaResult::Applied;
    } rows[] = {
        // Word 1 set; then a run (-3) starting one past -(-3) - 2 = 1 word
        // on from word 1: word 3.
        {"op 3 item and run", shortOffsets, Table({"00000020"}, 8) + "0001 ABCD FFFD 0001 1234 FFFF",
         "0F0FABCD 0F0F1234 " + same},
        // Long 0, then a run at the long after it (-2: no gap).
        {"op 2 item and run", longOffsets, Table({"00000020"}, 8) + "0000 AABBCCDD FFFE 0001 11223344 FFFF",
         "AABBCCDD 11223344 " + same},
        // Kind 1: a column one byte wide, two rows, a byte of each plane per
        // row, at byte 1 of the 40-byte screen row after an 18-byte margin
        // ((320 - 32) / 16); then kind 2 XORing 3 bytes of each plane into
        // row 1 (offset 40 + 18), over the column's A2 and B2.
        {"J columns and XOR rows", sculpt,
         "0001 0000 0002 0001 0013 A1B1A2B2 0002 0001 0001 0003 0001 003A F0F0F0 010203 0000",
         "0FA10F0F FF52FF0F 0FB10F0F 0EB00C0F"},
        {"J kind 3", sculpt, "0003 0000", same + " " + same, DeltaResult::Unreadable},
        // One long repeated down two rows, then one long (opcode -1) at byte
        // 4, which is row 1 in rows of (32 + 7) / 8 = 4 bytes.
        {"d repeat and list", scalaLong,
         Table({"00000008"}, 2) + "00000002 00000002 00000000 AABBCCDD FFFFFFFF 00000004 11223344",
         "AABBCCDD 11223344 " + same},
        {"e list in plane 1", scalaShort, Table({"00000000", "00000008"}, 2) + "0001 FFFE 00000002 1111 2222",
         same + " 0F0F1111 0F0F2222"},
        {"d run below the plane", scalaLong, Table({"00000008"}, 2) + "00000001 00000003 00000000 AABBCCDD",
         same + " " + same, DeltaResult::PastPicture},
        // Data at word 32, offsets at word 33: word 1 (byte 2) repeated
        // down two rows.
        {"l vertical repeat", vertical, Table({"00000020"}, 8) + Table({"00000021"}, 8) + "BEEF 0001 FFFE FFFF",
         "0F0FBEEF 0F0FBEEF " + same},
        // Data at word 32, offsets at word 34: two words from byte 4 (row 1)
        // going right.
        {"l horizontal list", horizontal,
         Table({"00000020"}, 8) + Table({"00000022"}, 8) + "1234 5678 0002 0002 FFFF", "0F0F0F0F 12345678 " + same},
        {"l data past the chunk", vertical, Table({"00000020"}, 8) + Table({"00000021"}, 8) + "BE 0001 0002",
         "", DeltaResult::PastChunk},
        {"op 3 list past the chunk", shortOffsets, Table({"00000100"}, 8), same + " " + same,
         DeltaResult::PastChunk},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> planes(16, 0x0F);
        const std::vector<uint8_t> delta = Hex(row.delta);
        EXPECT_EQ(row.apply(delta, PlaneBuffer{planes.data(), 2, 2, 4, 32}), row.result);
        if (!row.planes.empty()) EXPECT_EQ(planes, Hex(row.planes));
    }
}

}  // namespace
}  // namespace planora
