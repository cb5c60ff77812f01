// Bounded big-endian reading over a span of bytes, and the walk over the
// chunks an IFF FORM, CAT, LIST or PROP holds.
//
//   chunk:  <id:4> <length:4, big-endian> <length bytes of data> [pad byte]
//
// The pad byte keeps every chunk at an even offset; it is not counted in the
// length. A reader never leaves its span: reads at or past the end give 0 and
// mark the reader as having gone past (Overran), which the decoders that must
// stop at a chunk's end ask. Offsets are 64-bit, so a length near 4 GiB added
// to a position cannot wrap.
//
// The load road of ILBM keeps its own cursor over the file cache; everything
// else that walks chunks or reads words (containers, ANIM frames, FORM DEEP
// and IMAG, VDAT, PCHG, colour ranges) reads through these two types.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace planora {

using ByteSpan = std::span<const uint8_t>;

// The four characters of a chunk id as one big-endian number: ChunkId("FORM").
constexpr uint32_t ChunkId(const char (&id)[5]) {
    return uint32_t(uint8_t(id[0])) << 24 | uint32_t(uint8_t(id[1])) << 16 | uint32_t(uint8_t(id[2])) << 8 |
           uint8_t(id[3]);
}

// The id back as four characters (for messages and the details panel).
inline std::string ChunkIdText(uint32_t id) {
    return {char(id >> 24), char(id >> 16), char(id >> 8), char(id)};
}

// The header of an IFF chunk.
constexpr int64_t kChunkHeaderBytes = 8;
// A group chunk (FORM, CAT, LIST, PROP): the header and its 4-character type.
constexpr int64_t kGroupHeaderBytes = 12;

// A chunk's length with its pad byte.
constexpr int64_t PaddedLength(uint32_t length) { return int64_t{length} + (length & 1u); }

class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(ByteSpan bytes) : bytes_(bytes) {}
    ByteReader(const uint8_t* data, size_t size) : bytes_(data, size) {}

    int64_t Size() const { return int64_t(bytes_.size()); }
    int64_t Pos() const { return pos_; }
    int64_t Left() const { return std::max<int64_t>(0, Size() - pos_); }
    bool AtEnd() const { return pos_ >= Size(); }
    // A read wanted bytes at or past the end.
    bool Overran() const { return overran_; }
    ByteSpan Bytes() const { return bytes_; }

    void Seek(int64_t pos) { pos_ = std::max<int64_t>(0, pos); }
    void Skip(int64_t count) { Seek(pos_ + count); }

    // Sequential reads from the cursor.
    uint8_t Byte() { return Take(pos_++); }
    uint32_t Word() {
        const uint32_t high = Byte();
        return high << 8 | Byte();
    }
    int32_t SignedWord() { return int16_t(uint16_t(Word())); }
    uint32_t Long() {
        const uint32_t high = Word();
        return high << 16 | Word();
    }
    // A value of 1, 2 or 4 bytes.
    uint32_t Item(int bytes) {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) value = value << 8 | Byte();
        return value;
    }

    // Reads at a position; the cursor stays where it is.
    uint8_t ByteAt(int64_t pos) const { return pos >= 0 && pos < Size() ? bytes_[size_t(pos)] : 0; }
    uint32_t WordAt(int64_t pos) const { return uint32_t(ByteAt(pos)) << 8 | ByteAt(pos + 1); }
    uint32_t LongAt(int64_t pos) const { return WordAt(pos) << 16 | WordAt(pos + 2); }

    // `length` bytes from `start`, cut at the end of the span.
    ByteSpan Slice(int64_t start, int64_t length) const {
        const int64_t from = std::clamp<int64_t>(start, 0, Size());
        const int64_t to = std::clamp<int64_t>(start + std::max<int64_t>(length, 0), from, Size());
        return bytes_.subspan(size_t(from), size_t(to - from));
    }
    ByteReader Sub(int64_t start, int64_t length) const { return ByteReader(Slice(start, length)); }

private:
    uint8_t Take(int64_t pos) {
        // One unsigned compare: a negative position is past the end too.
        if (uint64_t(pos) >= bytes_.size()) {
            overran_ = true;
            return 0;
        }
        return bytes_[size_t(pos)];
    }

    ByteSpan bytes_;
    int64_t pos_ = 0;
    bool overran_ = false;
};

// One chunk found by ChunkWalk.
struct Chunk {
    uint32_t Id = 0;
    uint32_t Length = 0;  // as the header claims
    int64_t Start = 0;    // the header, in the walked span
    // The data, cut at the end of the walked span (which is the end of the
    // parent chunk or of the file, whichever comes first).
    ByteSpan Data;
    int64_t DataStart() const { return Start + kChunkHeaderBytes; }
    // Where the next chunk's header starts: after the data and the pad byte.
    int64_t Next() const { return DataStart() + PaddedLength(Length); }
    // The group type of a FORM, CAT, LIST or PROP (0 when too short).
    uint32_t GroupType() const {
        return Data.size() >= 4 ? uint32_t(Data[0]) << 24 | uint32_t(Data[1]) << 16 | uint32_t(Data[2]) << 8 | Data[3] : 0;
    }
    // A group's contents after its type.
    ByteSpan GroupContents() const { return Data.size() >= 4 ? Data.subspan(4) : ByteSpan(); }
};

// Walks the chunks of `bytes` (a group's contents) in order: every whole
// chunk header that fits, each chunk's data cut at the end of `bytes`.
class ChunkWalk {
public:
    explicit ChunkWalk(ByteSpan bytes, int64_t start = 0) : in_(bytes), next_(start) {}

    // The next chunk; false when no whole header is left.
    bool Next(Chunk& chunk) {
        if (next_ < 0 || next_ + kChunkHeaderBytes > in_.Size()) return false;
        chunk.Start = next_;
        chunk.Id = in_.LongAt(next_);
        chunk.Length = in_.LongAt(next_ + 4);
        chunk.Data = in_.Slice(chunk.DataStart(), int64_t{chunk.Length});
        next_ = chunk.Next();
        return true;
    }

private:
    ByteReader in_;
    int64_t next_;
};

// The chunks inside a group chunk's bytes that begin with its 12-byte
// header ("FORM" <length> <type>), cut at the group's length or the end of
// `file`, whichever comes first.
inline ByteSpan GroupBody(ByteSpan file, int64_t groupStart = 0) {
    const ByteReader in(file);
    const int64_t end = groupStart + kChunkHeaderBytes + int64_t{in.LongAt(groupStart + 4)};
    return in.Slice(groupStart + kGroupHeaderBytes, end - groupStart - kGroupHeaderBytes);
}

}  // namespace planora
