// PCHG: palette changes line by line down the picture.
//
//   header (20 bytes, big-endian)
//     Compression:2   0 none, 1 Huffman
//     Flags:2         0x01 small changes (4-bit colours), 0x02 big (8-bit)
//     StartLine:2     signed: the picture line of mask bit 0
//     LineCount:2     mask bits
//     ChangedLines:2  MinReg:2  MaxReg:2  MaxChanges:2  TotalChanges:4
//   with Huffman: CompInfoSize:4, OriginalDataSize:4, a tree of
//     CompInfoSize / 2 signed words, then the packed bits of the data below
//   data
//     line mask: LineCount bits, most significant first, in whole longwords;
//       bit k set means picture line StartLine + k changes
//     per changed line, small: Count16:1 Count32:1, then Count16 + Count32
//       words 0xIRGB (register I, 16 + I for the last Count32), or
//     big: Count:2, then Count x (Register:2 Alpha:1 Red:1 Blue:1 Green:1)
//
// Changes accumulate: a line's colours hold for every row below it until a
// later line changes them again; lines above the picture (StartLine < 0)
// change the colours of the first row. 4-bit components become 8 bits by
// multiplying by 17, as every reader of these files does. In an
// Extra-Half-Brite picture a change to register i < 32 also changes colour
// 32 + i to its half, as the display derives it.
//
// Huffman tree walk (the tree's last word is the root): a 1 bit at a word
// >= 0 emits its low byte, a 1 bit at a negative word moves back by
// -word / 2 words; a 0 bit moves back one word and emits when that word is
// positive with bit 0x100 set. Each emitted byte restarts at the root.
//
// The changes are read once, when the chunk is, into the list of each row's
// changes, so that mapping a row makes only its own. Every read stays inside
// the chunk (and the tree inside its words); past the end of the data the
// reader gives zeros, and a line's changes stop where the data ends.
#include "iff/pchg.h"

#include <algorithm>

namespace planora {

namespace {
constexpr int64_t kPchgHeaderBytes = 20;
constexpr int64_t kPchgCompHeaderBytes = 8;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionHuffman = 1;
constexpr uint32_t kSmallChanges = 0x01;
constexpr uint32_t kBigChanges = 0x02;
constexpr uint32_t kPaletteEntries = 257;
constexpr uint32_t kHalfBriteColours = 32;

uint32_t Widen4(uint32_t word) {
    return ((word >> 8) & 0xF) * 0x110000u + ((word >> 4) & 0xF) * 0x1100u + (word & 0xF) * 0x11u;
}

// The PCHG data as it is stored: plain, or Huffman-packed bits. Past its
// limit, the chunk's end or the packed bits it gives zeros.
class ChangeData {
public:
    // Plain data from `start` to the end of the chunk.
    ChangeData(ByteSpan chunk, int64_t start) : in_(chunk), pos_(start), limit_(in_.Size() - start) {}
    // Packed bits after a tree of `treeWords` words at `treeStart`, giving `size` bytes.
    ChangeData(ByteSpan chunk, int64_t treeStart, int64_t treeWords, int64_t bitsStart, int64_t size)
        : in_(chunk), huffman_(true), pos_(bitsStart), limit_(size), treeStart_(treeStart), treeRoot_(treeWords - 1) {}

    uint8_t Next();
    uint32_t NextWord() {
        const uint32_t high = Next();
        return high << 8 | Next();
    }
    bool Exhausted() const { return produced_ >= limit_; }

private:
    int16_t TreeWord(int64_t node) const { return int16_t(uint16_t(in_.WordAt(treeStart_ + 2 * node))); }

    ByteReader in_;
    bool huffman_ = false;
    int64_t pos_ = 0;        // next byte of the chunk
    int64_t produced_ = 0;   // data bytes given so far
    int64_t limit_ = 0;      // data bytes there are
    int64_t treeStart_ = 0;  // the tree's first word
    int64_t treeRoot_ = 0;   // index of the tree's last word
    uint8_t current_ = 0;
    int bitsLeft_ = 0;
};

uint8_t ChangeData::Next() {
    if (produced_ >= limit_) return 0;
    if (!huffman_) {
        ++produced_;
        return in_.ByteAt(pos_++);  // the limit keeps this inside the chunk
    }
    int64_t node = treeRoot_;
    for (;;) {
        if (bitsLeft_ == 0) {
            if (pos_ >= in_.Size()) break;
            current_ = in_.ByteAt(pos_++);
            bitsLeft_ = 8;
        }
        const bool one = (current_ & 0x80) != 0;
        current_ = uint8_t(current_ << 1);
        --bitsLeft_;
        const int16_t word = TreeWord(node);
        if (one) {
            if (word >= 0) {
                ++produced_;
                return uint8_t(word & 0xFF);
            }
            node += word / 2;
        } else {
            --node;
        }
        if (node < 0) break;  // a broken tree points before its first word
        if (!one) {
            const int16_t left = TreeWord(node);
            if (left > 0 && (left & 0x100)) {
                ++produced_;
                return uint8_t(left & 0xFF);
            }
        }
    }
    produced_ = limit_;  // out of packed bits or tree: no more data
    return 0;
}

// One changed line's changes onto the end of `changes`.
void ReadLineChanges(ChangeData& in, bool big, std::vector<PaletteChange>& changes) {
    auto set = [&](uint32_t reg, uint32_t colour) {
        if (reg < kPaletteEntries) changes.push_back({uint16_t(reg), colour});
    };
    if (!big) {
        const uint32_t count16 = in.Next();
        const uint32_t count32 = in.Next();
        for (uint32_t i = 0; i < count16 + count32 && !in.Exhausted(); ++i) {
            const uint32_t word = in.NextWord();
            set((word >> 12) + (i >= count16 ? 16 : 0), Widen4(word));
        }
    } else {
        const uint32_t count = in.NextWord();
        for (uint32_t i = 0; i < count && !in.Exhausted(); ++i) {
            const uint32_t reg = in.NextWord();
            in.Next();  // alpha
            const uint32_t red = in.Next();
            const uint32_t blue = in.Next();
            const uint32_t green = in.Next();
            set(reg, red << 16 | green << 8 | blue);
        }
    }
}
}  // namespace

std::optional<PaletteChangeList> ReadPaletteChanges(ByteSpan data, int32_t rows) {
    ByteReader header(data);
    if (header.Size() < kPchgHeaderBytes) return std::nullopt;
    const uint32_t compression = header.Word();
    const uint32_t flags = header.Word();
    const int32_t startLine = header.SignedWord();
    const int32_t lineCount = int32_t(header.Word());
    // ChangedLines .. TotalChanges are not needed.
    if ((flags & (kSmallChanges | kBigChanges)) == 0) return std::nullopt;
    const bool big = (flags & kSmallChanges) == 0;

    std::optional<ChangeData> in;
    if (compression == kCompressionNone) {
        in.emplace(data, kPchgHeaderBytes);
    } else if (compression == kCompressionHuffman) {
        if (header.Size() - kPchgHeaderBytes < kPchgCompHeaderBytes) return std::nullopt;
        header.Seek(kPchgHeaderBytes);
        const uint32_t treeBytes = header.Long();
        const uint32_t originalSize = header.Long();
        const int64_t treeStart = header.Pos();
        const int64_t treeWords = int64_t{treeBytes} / 2;
        if (treeWords < 1 || treeStart + 2 * treeWords > header.Size()) return std::nullopt;
        in.emplace(data, treeStart, treeWords, treeStart + int64_t{treeBytes}, int64_t{originalSize});
    } else {
        return std::nullopt;  // unknown compression: the chunk is passed over
    }

    // The mask, in whole longwords; the bits past LineCount are not kept.
    const int64_t maskBytes = 4 * ((int64_t{lineCount} + 31) / 32);
    std::vector<uint8_t> mask(size_t((lineCount + 7) / 8), 0);
    for (int64_t i = 0; i < maskBytes; ++i) {
        const uint8_t byte = in->Next();
        if (i < int64_t(mask.size())) mask[size_t(i)] = byte;
    }

    // Mask bit k is picture line startLine + k; the first row takes every
    // line at or above the top one, row r > 1 line r - 1.
    PaletteChangeList list;
    if (rows < 1) return list;
    list.RowEnds.assign(size_t(rows) + 1, 0);
    int32_t rowsDone = 0;  // RowEnds[0 .. rowsDone] are final
    for (int32_t bit = 0; bit < lineCount; ++bit) {
        const int64_t line = int64_t{startLine} + bit;
        if (line > rows - 1) break;
        const int32_t row = int32_t(std::max<int64_t>(line, 0)) + 1;
        while (rowsDone < row - 1) list.RowEnds[size_t(++rowsDone)] = uint32_t(list.Changes.size());
        if (mask[size_t(bit / 8)] & (0x80 >> (bit % 8))) ReadLineChanges(*in, big, list.Changes);
    }
    while (rowsDone < rows) list.RowEnds[size_t(++rowsDone)] = uint32_t(list.Changes.size());
    return list;
}

void ApplyRowChanges(const PaletteChangeList& list, int32_t row, uint32_t* colours, bool halfBrite) {
    if (row < 1 || size_t(row) >= list.RowEnds.size()) return;
    const PaletteChange* change = list.Changes.data() + list.RowEnds[size_t(row - 1)];
    const PaletteChange* end = list.Changes.data() + list.RowEnds[size_t(row)];
    for (; change != end; ++change) {
        colours[change->Register] = change->Colour;
        if (halfBrite && change->Register < kHalfBriteColours)
            colours[change->Register + kHalfBriteColours] = (change->Colour >> 1) & 0x7F7F7F;
    }
}

}  // namespace planora
