#include "decode/anim_offset_delta.h"

#include <algorithm>

namespace planora {

namespace {
constexpr int kListTableLongs = 8;
constexpr int32_t kEndOfList = -1;

// Writes the items of one plane's list; the position is in items.
class OffsetWriter {
public:
    OffsetWriter(const PlaneBuffer& out, int32_t plane, int itemBytes)
        : out_(out), plane_(plane), itemBytes_(itemBytes) {}
    bool Put(int64_t move, uint32_t value) {
        position_ += move;
        uint8_t* p = out_.BytesAt(plane_, position_ * itemBytes_, itemBytes_);
        if (p) PutItem(p, value, itemBytes_, false);
        return p != nullptr;
    }

private:
    const PlaneBuffer& out_;
    int32_t plane_;
    int itemBytes_;
    int64_t position_ = 0;
};
}  // namespace

DeltaResult ApplyOffsetDelta(ByteSpan delta, bool longData, const PlaneBuffer& out) {
    const ByteReader table(delta);
    if (table.Size() < 4 * kListTableLongs) return DeltaResult::PastChunk;
    const int itemBytes = longData ? 4 : 2;
    for (int32_t p = 0; p < std::min(out.Planes, kListTableLongs); ++p) {
        const uint32_t offset = table.LongAt(4 * int64_t{p});
        if (offset == 0) continue;
        if (offset >= uint64_t(table.Size())) return DeltaResult::PastChunk;
        ByteReader in(delta);
        in.Seek(offset);
        OffsetWriter plane(out, p, itemBytes);
        while (!in.AtEnd()) {
            const int32_t word = in.SignedWord();
            if (word == kEndOfList) break;
            if (word >= 0) {
                if (!plane.Put(word, in.Item(itemBytes))) return DeltaResult::PastPicture;
            } else {
                const uint32_t count = in.Word();
                for (uint32_t i = 0; i < count && !in.Overran(); ++i)
                    if (!plane.Put(i == 0 ? -int64_t{word} - 1 : 1, in.Item(itemBytes))) return DeltaResult::PastPicture;
            }
            if (in.Overran()) return DeltaResult::PastChunk;
        }
    }
    return DeltaResult::Applied;
}

}  // namespace planora
