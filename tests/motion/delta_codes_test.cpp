// The codes of each delta operation worked by hand on two planes of 32 x 2
// pixels, every byte 0F to start: where positions, runs, repeats, steps and
// XOR land (the broken animations of anim_test.cpp cover what ends one).
#include <gtest/gtest.h>

#include <cstdio>
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
std::string Table(std::vector<uint32_t> offsets, size_t count) {
    offsets.resize(count);
    std::string table;
    for (const uint32_t offset : offsets) {
        char hex[10];
        std::snprintf(hex, sizeof hex, "%08X ", unsigned(offset));
        table += hex;
    }
    return table;
}

// Operations 2, 3, J, d and e; v and h: l going down and going right.
DeltaResult Apply(char op, ByteSpan delta, const PlaneBuffer& out) {
    switch (op) {
        case '2': case '3': return ApplyOffsetDelta(delta, op == '2', out);
        case 'J': return ApplySculptDelta(delta, out);
        case 'd': case 'e': return ApplyScalaDelta(delta, op == 'd', out);
        default: return ApplyWordListDelta(delta, op == 'h', out);
    }
}

TEST(DeltaCodes, EachCodeLandsWhereWorkedByHand) {
    const std::string same = "0F0F0F0F 0F0F0F0F";
    const struct {
        const char* name;
        char op;
        std::string delta;
        std::string planes;  // plane 0 rows 0 and 1, plane 1 rows 0 and 1 ("": unchanged)
        DeltaResult result = DeltaResult::Applied;
    } rows[] = {
        // Word 1 set; then a run (-3) starting one past -(-3) - 2 = 1 word
        // on from word 1: word 3.
        {"op 3 item and run", '3', Table({0x20}, 8) + "0001 ABCD FFFD 0001 1234 FFFF",
         "0F0FABCD 0F0F1234 " + same},
        // Long 0, then a run at the long after it (-2: no gap).
        {"op 2 item and run", '2', Table({0x20}, 8) + "0000 AABBCCDD FFFE 0001 11223344 FFFF",
         "AABBCCDD 11223344 " + same},
        // Kind 1: a column one byte wide, two rows, a byte of each plane per
        // row, at byte 1 of the 40-byte screen row after an 18-byte margin
        // ((320 - 32) / 16); then kind 2 XORing 3 bytes of each plane into
        // row 1 (offset 40 + 18), over the column's A2 and B2.
        {"J columns and XOR rows", 'J',
         "0001 0000 0002 0001 0013 A1B1A2B2 0002 0001 0001 0003 0001 003A F0F0F0 010203 0000",
         "0FA10F0F FF52FF0F 0FB10F0F 0EB00C0F"},
        {"J kind 3", 'J', "0003 0000", "", DeltaResult::Unreadable},
        {"J cut", 'J', "0001", "", DeltaResult::PastChunk},
        // A long repeated no times, one repeated down two rows, then one
        // long (opcode -1) at byte 4, row 1 in rows of (32 + 7) / 8 bytes.
        {"d repeat and list", 'd',
         Table({8}, 2) +
             "00000003 00000000 00000000 CAFEBABE 00000002 00000000 AABBCCDD FFFFFFFF 00000004 11223344",
         "AABBCCDD 11223344 " + same},
        // Data at word 32, offsets at word 33: word 1 (byte 2) repeated
        // down two rows.
        {"l vertical repeat", 'v', Table({0x20}, 8) + Table({0x21}, 8) + "BEEF 0001 FFFE FFFF",
         "0F0FBEEF 0F0FBEEF " + same},
        {"l no change", 'v', Table({}, 16), ""},
        {"l list at the end", 'v', Table({0x20}, 8) + Table({0x21}, 8) + "BEEF", "", DeltaResult::PastChunk},
        {"l plane 3 of 2", 'v', Table({0, 0, 0x20}, 8) + Table({0, 0, 0x21}, 8) + "BEEF 0000 0001", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<uint8_t> planes(16, 0x0F);
        const std::vector<uint8_t> delta = Hex(row.delta);
        EXPECT_EQ(Apply(row.op, delta, PlaneBuffer{planes.data(), 2, 2, 4, 32}), row.result);
        EXPECT_EQ(planes, row.planes.empty() ? std::vector<uint8_t>(16, 0x0F) : Hex(row.planes));
    }
}

}  // namespace
}  // namespace planora
