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
// 32 + i to its half, as the display derives it. The CMAP colours in Palette
// and FilePalette stay as they are; rows are mapped through a working copy.
//
// Huffman tree walk (the tree's last word is the root): a 1 bit at a word
// >= 0 emits its low byte, a 1 bit at a negative word moves back by
// -word / 2 words; a 0 bit moves back one word and emits when that word is
// positive with bit 0x100 set. Each emitted byte restarts at the root.
//
// The changes are read from the file while the rows are mapped, one line at a
// time, so nothing is allocated per row and the work per row is that line's
// changes. Every read stays inside the chunk (and the tree inside its words);
// past the end of the data the reader gives zeros, which change nothing.
#include <algorithm>

#include "iff/picture_context.h"

namespace planora {

namespace {
constexpr int64_t kPchgHeaderBytes = 20;
constexpr int64_t kPchgCompHeaderBytes = 8;
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionHuffman = 1;
constexpr uint32_t kSmallChanges = 0x01;
constexpr uint32_t kBigChanges = 0x02;
constexpr int kHalfBriteColours = 32;

uint32_t Widen4(uint32_t word) {
    return ((word >> 8) & 0xF) * 0x110000u + ((word >> 4) & 0xF) * 0x1100u + (word & 0xF) * 0x11u;
}
}  // namespace

uint8_t PictureContext::PaletteChangeReader::Next(const PixelArray<uint8_t>& file) {
    if (Produced >= Limit) return 0;
    if (!Huffman) {
        ++Produced;
        return file[size_t(Pos++)];  // Limit keeps Pos below End
    }
    int64_t node = TreeRoot;
    for (;;) {
        if (BitsLeft == 0) {
            if (Pos >= End) break;
            Current = file[size_t(Pos++)];
            BitsLeft = 8;
        }
        const bool one = (Current & 0x80) != 0;
        Current = uint8_t(Current << 1);
        --BitsLeft;
        const int16_t word = TreeWord(file, node);
        if (one) {
            if (word >= 0) {
                ++Produced;
                return uint8_t(word & 0xFF);
            }
            node += word / 2;
        } else {
            --node;
        }
        if (node < 0) break;  // a broken tree points before its first word
        if (!one) {
            const int16_t left = TreeWord(file, node);
            if (left > 0 && (left & 0x100)) {
                ++Produced;
                return uint8_t(left & 0xFF);
            }
        }
    }
    Produced = Limit;  // out of packed bits or tree: no more data
    return 0;
}

int16_t PictureContext::PaletteChangeReader::TreeWord(const PixelArray<uint8_t>& file, int64_t node) const {
    const int64_t at = TreeStart + 2 * node;
    return int16_t(uint16_t(file[size_t(at)] << 8 | file[size_t(at + 1)]));
}

uint32_t PictureContext::PaletteChangeReader::NextWord(const PixelArray<uint8_t>& file) {
    const uint32_t high = Next(file);
    return high << 8 | Next(file);
}

void PictureContext::LoadPaletteChanges(uint32_t length) {
    PaletteChangeState& pchg = PaletteChanges;
    pchg.Present = false;
    const int64_t fileEnd = static_cast<int64_t>(CachedLength());
    const int64_t start = CachePos;
    const int64_t end = std::min<int64_t>(start + int64_t{length}, fileEnd);
    if (end - start < kPchgHeaderBytes) return;

    const uint32_t compression = uint32_t(Iff_Read_Word()) & 0xFFFF;
    const uint32_t flags = uint32_t(Iff_Read_Word()) & 0xFFFF;
    pchg.StartLine = Iff_Read_Word();
    pchg.LineCount = Iff_Read_Word() & 0xFFFF;
    CachePos = start + kPchgHeaderBytes;  // ChangedLines .. TotalChanges are not needed
    if ((flags & (kSmallChanges | kBigChanges)) == 0) return;
    pchg.BigChanges = (flags & kSmallChanges) == 0;

    PaletteChangeReader& reader = pchg.Start;
    reader = {};
    if (compression == kCompressionNone) {
        reader.Pos = CachePos;
        reader.End = end;
        reader.Limit = end - CachePos;
    } else if (compression == kCompressionHuffman) {
        if (end - CachePos < kPchgCompHeaderBytes) return;
        const uint32_t treeBytes = Iff_Read_Long();
        const uint32_t originalSize = Iff_Read_Long();
        const int64_t treeWords = int64_t{treeBytes} / 2;
        if (treeWords < 1 || CachePos + 2 * treeWords > end) return;
        reader.Huffman = true;
        reader.TreeStart = CachePos;
        reader.TreeRoot = treeWords - 1;
        reader.Pos = CachePos + int64_t{treeBytes};
        reader.End = end;
        reader.Limit = originalSize;
    } else {
        return;  // unknown compression: the chunk is passed over
    }

    // The mask, in whole longwords; the bits past LineCount are not kept.
    const int64_t maskBytes = 4 * ((int64_t{pchg.LineCount} + 31) / 32);
    pchg.LineMask.assign(size_t((pchg.LineCount + 7) / 8), 0);
    for (int64_t i = 0; i < maskBytes; ++i) {
        const uint8_t byte = reader.Next(FileCache);
        if (i < int64_t(pchg.LineMask.size())) pchg.LineMask[size_t(i)] = byte;
    }
    pchg.Present = true;
    pchg.Started = false;
    IlbmInfo.DynamicPaletteFlag = 1;
}

bool PictureContext::UsesPaletteChanges() const { return PaletteChanges.Present && !PaletteChanges.LineTablesRead; }

const uint32_t* PictureContext::PaletteForRow(int32_t row) {
    PaletteChangeState& pchg = PaletteChanges;
    if (row == 1 || !pchg.Started) {
        pchg.Started = true;
        pchg.Working = Palette;
        pchg.Cursor = pchg.Start;
        pchg.NextMaskBit = 0;
    }
    const int64_t line = int64_t{row} - 1;
    while (pchg.NextMaskBit < pchg.LineCount && pchg.StartLine + pchg.NextMaskBit <= line) {
        const int32_t bit = pchg.NextMaskBit++;
        if ((pchg.LineMask[size_t(bit / 8)] & (0x80 >> (bit % 8))) == 0) continue;
        ApplyLineChanges();
    }
    return pchg.Working.data();
}

void PictureContext::ApplyLineChanges() {
    PaletteChangeState& pchg = PaletteChanges;
    PaletteChangeReader& in = pchg.Cursor;
    const bool halfBrite = IlbmInfo.HalfBriteFlag == 1;
    auto set = [&](uint32_t reg, uint32_t colour) {
        if (reg >= uint32_t(kPaletteEntries)) return;
        pchg.Working[reg] = colour;
        if (halfBrite && reg < uint32_t(kHalfBriteColours)) pchg.Working[reg + kHalfBriteColours] = (colour >> 1) & 0x7F7F7F;
    };
    if (!pchg.BigChanges) {
        const uint32_t count16 = in.Next(FileCache);
        const uint32_t count32 = in.Next(FileCache);
        for (uint32_t i = 0; i < count16 + count32 && !in.Exhausted(); ++i) {
            const uint32_t word = in.NextWord(FileCache);
            set((word >> 12) + (i >= count16 ? 16 : 0), Widen4(word));
        }
    } else {
        const uint32_t count = in.NextWord(FileCache);
        for (uint32_t i = 0; i < count && !in.Exhausted(); ++i) {
            const uint32_t reg = in.NextWord(FileCache);
            in.Next(FileCache);  // alpha
            const uint32_t red = in.Next(FileCache);
            const uint32_t blue = in.Next(FileCache);
            const uint32_t green = in.Next(FileCache);
            set(reg, red << 16 | green << 8 | blue);
        }
    }
}

}  // namespace planora
