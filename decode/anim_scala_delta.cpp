#include "decode/anim_scala_delta.h"

namespace planora {

DeltaResult ApplyScalaDelta(ByteSpan delta, bool longData, const PlaneBuffer& out) {
    const ByteReader table(delta);
    if (table.Size() < 4 * int64_t{out.Planes}) return DeltaResult::PastChunk;
    const int itemBytes = longData ? 4 : 2;
    const int64_t byteRow = (out.Width + 7) / 8;
    for (int32_t p = 0; p < out.Planes; ++p) {
        const uint32_t offset = table.LongAt(4 * int64_t{p});
        if (offset == 0) continue;
        ByteReader in(delta);
        in.Seek(offset);
        const uint32_t entries = in.Item(itemBytes);
        for (uint32_t e = 0; e < entries && !in.Overran(); ++e) {
            const uint32_t code = in.Item(itemBytes);
            const int64_t opcode = longData ? int64_t{int32_t(code)} : int64_t{int16_t(code)};
            const uint32_t at = in.Long();
            const int64_t row = at / byteRow, column = at % byteRow;
            const int64_t count = opcode >= 0 ? opcode : -opcode;
            if (row + count > out.Height || column + itemBytes > out.RowBytes) return DeltaResult::PastPicture;
            const uint32_t repeated = opcode >= 0 ? in.Item(itemBytes) : 0;
            for (int64_t i = 0; i < count && !in.Overran(); ++i)
                PutItem(out.BytesAt(p, (row + i) * out.RowBytes + column, itemBytes),
                        opcode >= 0 ? repeated : in.Item(itemBytes), itemBytes, false);
        }
        if (in.Overran()) return DeltaResult::PastChunk;
    }
    return DeltaResult::Applied;
}

}  // namespace planora
