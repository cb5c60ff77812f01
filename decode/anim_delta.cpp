#include "decode/anim_delta.h"

#include <algorithm>

namespace planora {

namespace {
constexpr int64_t kOffsetTableBytes = 64;  // 16 longs
constexpr int kMaxDeltaPlanes = 8;

// Offset `index` of the table at the DLTA's start (0: the plane does not change).
uint32_t OffsetAt(ByteSpan delta, int32_t index) { return ByteReader(delta).LongAt(4 * int64_t{index}); }

// A reader of the list at `offset`; reading past the DLTA's end gives zeros
// and marks the reader as overran.
ByteReader ListAt(ByteSpan delta, uint32_t offset) {
    ByteReader list(delta);
    list.Seek(offset);
    return list;
}

// Writes values of `bytes` bytes into one column of one plane, row by row.
class ColumnWriter {
public:
    ColumnWriter(const PlaneBuffer& out, int32_t plane, int32_t column, int bytes, bool xorValues)
        : out_(out), xor_(xorValues) {
        start_ = std::min(out.RowBytes, column * bytes);
        width_ = std::min(bytes, out.RowBytes - start_);
        bytes_ = bytes;
        base_ = out.Data + size_t(plane) * size_t(out.Height) * size_t(out.RowBytes) + size_t(start_);
    }
    void Put(uint32_t value) {
        if (row_ < out_.Height) {
            uint8_t* p = base_ + size_t(row_) * size_t(out_.RowBytes);
            for (int i = 0; i < width_; ++i) {
                const uint8_t b = uint8_t(value >> (8 * (bytes_ - 1 - i)));
                p[i] = xor_ ? uint8_t(p[i] ^ b) : b;
            }
            ++row_;
        }
    }
    void Repeat(uint32_t value, uint32_t count) {
        for (uint32_t i = 0; i < count && row_ < out_.Height; ++i) Put(value);
    }
    void Skip(uint32_t rows) { row_ = std::min<int64_t>(int64_t{row_} + rows, out_.Height); }

private:
    const PlaneBuffer& out_;
    bool xor_;
    int32_t start_ = 0, width_ = 0, bytes_ = 0;
    int32_t row_ = 0;
    uint8_t* base_ = nullptr;
};

int32_t Columns(const PlaneBuffer& out, int bytes) { return (out.RowBytes + bytes - 1) / bytes; }
}  // namespace

bool ApplyByteVerticalDelta(ByteSpan delta, bool xorValues, const PlaneBuffer& out) {
    if (int64_t(delta.size()) < kOffsetTableBytes) return false;
    for (int32_t p = 0; p < std::min(out.Planes, kMaxDeltaPlanes); ++p) {
        const uint32_t offset = OffsetAt(delta, p);
        if (offset == 0) continue;
        ByteReader in = ListAt(delta, offset);
        for (int32_t x = 0; x < out.RowBytes && !in.Overran(); ++x) {
            ColumnWriter column(out, p, x, 1, xorValues);
            const uint32_t ops = in.Byte();
            for (uint32_t k = 0; k < ops && !in.Overran(); ++k) {
                const uint32_t op = in.Byte();
                if (op == 0) {
                    const uint32_t count = in.Byte();
                    column.Repeat(in.Byte(), count);
                } else if (op & 0x80) {
                    for (uint32_t i = 0; i < (op & 0x7F); ++i) column.Put(in.Byte());
                } else {
                    column.Skip(op);
                }
            }
        }
        if (in.Overran()) return false;
    }
    return true;
}

bool ApplySplitVerticalDelta(ByteSpan delta, bool longData, const PlaneBuffer& out) {
    if (int64_t(delta.size()) < kOffsetTableBytes) return false;
    const int bytes = longData ? 4 : 2;
    for (int32_t p = 0; p < std::min(out.Planes, kMaxDeltaPlanes); ++p) {
        const uint32_t opOffset = OffsetAt(delta, p);
        if (opOffset == 0) continue;
        ByteReader ops = ListAt(delta, opOffset);
        ByteReader data = ListAt(delta, OffsetAt(delta, p + 8));
        for (int32_t x = 0; x < Columns(out, bytes) && !ops.Overran() && !data.Overran(); ++x) {
            ColumnWriter column(out, p, x, bytes, false);
            const uint32_t count = ops.Byte();
            for (uint32_t k = 0; k < count && !ops.Overran() && !data.Overran(); ++k) {
                const uint32_t op = ops.Byte();
                if (op == 0) {
                    const uint32_t repeat = ops.Byte();
                    column.Repeat(data.Item(bytes), repeat);
                } else if (op & 0x80) {
                    for (uint32_t i = 0; i < (op & 0x7F); ++i) column.Put(data.Item(bytes));
                } else {
                    column.Skip(op);
                }
            }
        }
        if (ops.Overran() || data.Overran()) return false;
    }
    return true;
}

bool ApplyListVerticalDelta(ByteSpan delta, bool longData, const PlaneBuffer& out) {
    if (int64_t(delta.size()) < kOffsetTableBytes) return false;
    const int bytes = longData ? 4 : 2;
    const uint32_t topBit = longData ? 0x80000000u : 0x8000u;
    for (int32_t p = 0; p < std::min(out.Planes, kMaxDeltaPlanes); ++p) {
        const uint32_t offset = OffsetAt(delta, p);
        if (offset == 0) continue;
        ByteReader in = ListAt(delta, offset);
        for (int32_t x = 0; x < Columns(out, bytes) && !in.Overran(); ++x) {
            ColumnWriter column(out, p, x, bytes, false);
            const uint32_t count = in.Item(bytes);
            for (uint32_t k = 0; k < count && !in.Overran(); ++k) {
                const uint32_t op = in.Item(bytes);
                if (op == 0) {
                    const uint32_t repeat = in.Item(bytes);
                    column.Repeat(in.Item(bytes), repeat);
                } else if (op & topBit) {
                    // Every value is read, so a run longer than the data ends
                    // at the chunk's end.
                    for (uint32_t i = 0; i < (op & ~topBit) && !in.Overran(); ++i) column.Put(in.Item(bytes));
                } else {
                    column.Skip(op);
                }
            }
        }
        if (in.Overran()) return false;
    }
    return true;
}

}  // namespace planora
