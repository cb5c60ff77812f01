#include "decode/anim_delta.h"

#include <algorithm>

namespace planora {

namespace {
constexpr size_t kOffsetTableBytes = 64;  // 16 longs
constexpr int kMaxDeltaPlanes = 8;

// Reads big-endian values from [pos, end); past the end it gives zeros and
// remembers that it went there.
struct DeltaReader {
    const uint8_t* data;
    size_t pos;
    size_t end;
    bool outside = false;
    uint32_t Byte() {
        if (pos >= end) {
            outside = true;
            return 0;
        }
        return data[pos++];
    }
    uint32_t Item(int bytes) {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) value = (value << 8) | Byte();
        return value;
    }
};

uint32_t OffsetAt(const uint8_t* delta, size_t index) {
    const uint8_t* p = delta + 4 * index;
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
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

bool ApplyByteVerticalDelta(const uint8_t* delta, size_t length, bool xorValues, const PlaneBuffer& out) {
    if (length < kOffsetTableBytes) return false;
    for (int32_t p = 0; p < std::min(out.Planes, kMaxDeltaPlanes); ++p) {
        const uint32_t offset = OffsetAt(delta, size_t(p));
        if (offset == 0) continue;
        DeltaReader in{delta, offset, length};
        for (int32_t x = 0; x < out.RowBytes && !in.outside; ++x) {
            ColumnWriter column(out, p, x, 1, xorValues);
            const uint32_t ops = in.Byte();
            for (uint32_t k = 0; k < ops && !in.outside; ++k) {
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
        if (in.outside) return false;
    }
    return true;
}

bool ApplySplitVerticalDelta(const uint8_t* delta, size_t length, bool longData, const PlaneBuffer& out) {
    if (length < kOffsetTableBytes) return false;
    const int bytes = longData ? 4 : 2;
    for (int32_t p = 0; p < std::min(out.Planes, kMaxDeltaPlanes); ++p) {
        const uint32_t opOffset = OffsetAt(delta, size_t(p));
        if (opOffset == 0) continue;
        DeltaReader ops{delta, opOffset, length};
        DeltaReader data{delta, OffsetAt(delta, size_t(p) + 8), length};
        for (int32_t x = 0; x < Columns(out, bytes) && !ops.outside && !data.outside; ++x) {
            ColumnWriter column(out, p, x, bytes, false);
            const uint32_t count = ops.Byte();
            for (uint32_t k = 0; k < count && !ops.outside && !data.outside; ++k) {
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
        if (ops.outside || data.outside) return false;
    }
    return true;
}

bool ApplyListVerticalDelta(const uint8_t* delta, size_t length, bool longData, const PlaneBuffer& out) {
    if (length < kOffsetTableBytes) return false;
    const int bytes = longData ? 4 : 2;
    const uint32_t topBit = longData ? 0x80000000u : 0x8000u;
    for (int32_t p = 0; p < std::min(out.Planes, kMaxDeltaPlanes); ++p) {
        const uint32_t offset = OffsetAt(delta, size_t(p));
        if (offset == 0) continue;
        DeltaReader in{delta, offset, length};
        for (int32_t x = 0; x < Columns(out, bytes) && !in.outside; ++x) {
            ColumnWriter column(out, p, x, bytes, false);
            const uint32_t count = in.Item(bytes);
            for (uint32_t k = 0; k < count && !in.outside; ++k) {
                const uint32_t op = in.Item(bytes);
                if (op == 0) {
                    const uint32_t repeat = in.Item(bytes);
                    column.Repeat(in.Item(bytes), repeat);
                } else if (op & topBit) {
                    // Every value is read, so a run longer than the data ends
                    // at the chunk's end.
                    for (uint32_t i = 0; i < (op & ~topBit) && !in.outside; ++i) column.Put(in.Item(bytes));
                } else {
                    column.Skip(op);
                }
            }
        }
        if (in.outside) return false;
    }
    return true;
}

}  // namespace planora
