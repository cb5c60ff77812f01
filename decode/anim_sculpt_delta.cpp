#include "decode/anim_sculpt_delta.h"

namespace planora {

namespace {
constexpr uint32_t kEnd = 0;
constexpr uint32_t kColumns = 1;
constexpr uint32_t kBlocks = 2;
constexpr int32_t kScreenWidth = 320;

struct Place {
    int64_t Row = 0, Column = 0;
};

Place PlaceOf(uint32_t offset, const PlaneBuffer& out) {
    // Half the bytes of the screen row beside the picture (none within 16
    // pixels of the screen's width).
    const int64_t margin = out.Width < kScreenWidth ? (kScreenWidth - out.Width) / 16 : 0;
    if (margin > 0) {
        const int64_t screenRow = kScreenWidth / 8;
        return {offset / screenRow, offset % screenRow - margin};
    }
    const int64_t row = (out.Width + 7) / 8;
    return {offset / row, offset % row};
}

// One group: `rows` rows of `bytes` bytes in each plane, from `at`.
DeltaResult ApplyGroup(ByteReader& in, const PlaneBuffer& out, Place at, uint32_t rows, uint32_t bytes,
                       bool xorValues) {
    for (uint32_t r = 0; r < rows; ++r)
        for (int32_t p = 0; p < out.Planes; ++p) {
            if (in.Left() < bytes) return DeltaResult::PastChunk;
            const int64_t row = at.Row + r;
            uint8_t* dest = at.Column >= 0 && at.Column + bytes <= out.RowBytes
                                ? out.BytesAt(p, row * out.RowBytes + at.Column, bytes)
                                : nullptr;
            if (!dest) return DeltaResult::PastPicture;
            for (uint32_t b = 0; b < bytes; ++b) PutItem(dest + b, in.Byte(), 1, xorValues);
        }
    if ((uint64_t{rows} * bytes * uint64_t(out.Planes)) & 1) in.Skip(1);
    return DeltaResult::Applied;
}
}  // namespace

DeltaResult ApplySculptDelta(ByteSpan delta, const PlaneBuffer& out) {
    ByteReader in(delta);
    while (in.Left() >= 2) {
        const uint32_t kind = in.Word();
        if (kind == kEnd) break;
        if (kind != kColumns && kind != kBlocks) return DeltaResult::Unreadable;
        const bool xorValues = in.Word() != 0;
        const uint32_t rows = in.Word();
        const uint32_t bytes = kind == kBlocks ? in.Word() : 1;
        const uint32_t groups = in.Word();
        for (uint32_t g = 0; g < groups; ++g) {
            const uint32_t offset = in.Word();
            if (in.Overran()) return DeltaResult::PastChunk;
            const DeltaResult result = ApplyGroup(in, out, PlaceOf(offset, out), rows, bytes, xorValues);
            if (result != DeltaResult::Applied) return result;
        }
        if (in.Overran()) return DeltaResult::PastChunk;
    }
    return DeltaResult::Applied;
}

}  // namespace planora
