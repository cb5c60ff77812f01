#include "decode/anim_word_list_delta.h"

#include <algorithm>

namespace planora {

namespace {
constexpr int kListTableLongs = 8;
constexpr uint32_t kEndOfList = 0xFFFF;
}  // namespace

DeltaResult ApplyWordListDelta(ByteSpan delta, bool horizontal, const PlaneBuffer& out) {
    const ByteReader table(delta);
    if (table.Size() < 8 * kListTableLongs) return DeltaResult::PastChunk;
    const int64_t byteRow = (out.Width + 7) / 8;
    const int64_t step = horizontal ? 2 : out.RowBytes;
    for (int32_t p = 0; p < std::min(out.Planes, kListTableLongs); ++p) {
        const int64_t dataAt = 2 * int64_t{table.LongAt(4 * int64_t{p})};
        const int64_t listAt = 2 * int64_t{table.LongAt(4 * int64_t{p + kListTableLongs})};
        if (dataAt == 0) continue;
        if (dataAt >= table.Size() || listAt >= table.Size()) return DeltaResult::PastChunk;
        ByteReader data(delta), list(delta);
        data.Seek(dataAt);
        list.Seek(listAt);
        while (!list.AtEnd()) {
            const uint32_t word = list.Word();
            if (word == kEndOfList) break;
            const int32_t count = list.SignedWord();
            if (list.Overran()) return DeltaResult::PastChunk;
            const int64_t start = 2 * int64_t{word} / byteRow * out.RowBytes + 2 * int64_t{word} % byteRow;
            const int64_t n = count < 0 ? -int64_t{count} : count;
            const uint32_t repeated = count < 0 ? data.Word() : 0;
            for (int64_t i = 0; i < n; ++i) {
                uint8_t* dest = out.BytesAt(p, start + i * step, 2);
                if (!dest) return DeltaResult::PastPicture;
                PutItem(dest, count < 0 ? repeated : data.Word(), 2, false);
            }
            if (data.Overran()) return DeltaResult::PastChunk;
        }
    }
    return DeltaResult::Applied;
}

}  // namespace planora
