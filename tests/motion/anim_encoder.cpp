#include "anim_encoder.h"

#include <algorithm>

namespace planora::test {

namespace {
struct Op {
    enum Kind { Skip, Same, Unique } kind;
    uint32_t count;
    std::vector<uint32_t> values;
};

// The column of one plane of a picture that starts at byte `first` of the
// plane rows, `bytes` bytes per value.
std::vector<uint32_t> ColumnValues(const IndexPicture& picture, int plane, int first, int bytes) {
    std::vector<uint32_t> column;
    for (int32_t y = 0; y < picture.Height; ++y) {
        const std::vector<uint8_t> row = PlaneRow(picture, y, plane);
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i) {
            const size_t at = size_t(first + i);
            value = (value << 8) | (at < row.size() ? row[at] : 0);
        }
        column.push_back(value);
    }
    return column;
}

std::vector<Op> ColumnOps(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, uint32_t maxRun) {
    std::vector<Op> ops;
    const size_t n = after.size();
    size_t y = 0;
    while (y < n) {
        size_t run = 0;
        while (y + run < n && run < maxRun && before[y + run] == after[y + run]) ++run;
        if (run > 0) {
            if (y + run < n) ops.push_back({Op::Skip, uint32_t(run), {}});  // a skip at the end is left out
            y += run;
            continue;
        }
        while (y + run < n && run < maxRun && after[y + run] == after[y]) ++run;
        if (run >= 3) {
            ops.push_back({Op::Same, uint32_t(run), {after[y]}});
            y += run;
            continue;
        }
        Op unique{Op::Unique, 0, {}};
        while (y < n && unique.count < maxRun && before[y] != after[y]) {
            unique.values.push_back(after[y++]);
            ++unique.count;
        }
        ops.push_back(unique);
    }
    return ops;
}

void PutItem(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

std::vector<uint8_t> DeltaFor(const IndexPicture& before, const IndexPicture& after, int planes, DeltaKind kind) {
    const bool split = kind == DeltaKind::SplitShort || kind == DeltaKind::SplitLong;
    const int bytes = kind == DeltaKind::SplitLong || kind == DeltaKind::ListLong ? 4 : 2;
    const int columns = (PlaneRowBytes(after.Width) + bytes - 1) / bytes;
    std::vector<uint8_t> delta(64, 0);
    auto setOffset = [&](int slot, size_t offset) {
        for (int i = 0; i < 4; ++i) delta[size_t(4 * slot + i)] = uint8_t(offset >> (24 - 8 * i));
    };
    for (int p = 0; p < planes; ++p) {
        std::vector<uint8_t> opList, dataList;
        bool changed = false;
        for (int c = 0; c < columns; ++c) {
            const std::vector<Op> ops = ColumnOps(ColumnValues(before, p, c * bytes, bytes),
                                                  ColumnValues(after, p, c * bytes, bytes), split ? 127 : 0x7FFF);
            changed = changed || !ops.empty();
            if (split) opList.push_back(uint8_t(ops.size())); else PutItem(opList, uint32_t(ops.size()), bytes);
            for (const Op& op : ops) {
                const uint32_t top = split ? 0x80 : (bytes == 2 ? 0x8000u : 0x80000000u);
                auto putOp = [&](uint32_t v) { if (split) opList.push_back(uint8_t(v)); else PutItem(opList, v, bytes); };
                std::vector<uint8_t>& data = split ? dataList : opList;
                if (op.kind == Op::Skip) {
                    putOp(op.count);
                } else if (op.kind == Op::Same) {
                    putOp(0);
                    putOp(op.count);
                    PutItem(data, op.values[0], bytes);
                } else {
                    putOp(top | op.count);
                    for (uint32_t v : op.values) PutItem(data, v, bytes);
                }
            }
        }
        if (!changed) continue;
        setOffset(p, delta.size());
        delta.insert(delta.end(), opList.begin(), opList.end());
        if (split) {
            setOffset(8 + p, delta.size());
            delta.insert(delta.end(), dataList.begin(), dataList.end());
        }
    }
    // Room after the last value: ffmpeg leaves out a value that ends
    // exactly at the end of the chunk.
    delta.insert(delta.end(), 4, 0);
    return delta;
}
}  // namespace

std::vector<uint8_t> AnhdData(uint8_t operation, uint8_t interleave, uint32_t relTime, uint32_t bits) {
    std::vector<uint8_t> anhd(40, 0);
    anhd[0] = operation;
    for (int i = 0; i < 4; ++i) {
        anhd[size_t(14 + i)] = uint8_t(relTime >> (24 - 8 * i));
        anhd[size_t(20 + i)] = uint8_t(bits >> (24 - 8 * i));
    }
    anhd[18] = interleave;
    return anhd;
}

std::vector<uint8_t> AnimFile(const std::vector<std::vector<uint8_t>>& forms) {
    std::vector<uint8_t> all;
    for (const auto& form : forms) all.insert(all.end(), form.begin(), form.end());
    return IlbmBuilder().FormType("ANIM").Raw(all).Bytes();
}

std::vector<uint8_t> EncodeAnim(const AnimSource& source, DeltaKind kind) {
    const IndexPicture& first = source.Frames[0];
    std::vector<std::vector<uint8_t>> forms;
    forms.push_back(IlbmBuilder()
                        .Bmhd(first.Width, first.Height, source.Planes, 1)
                        .Cmap(source.Colours)
                        .Body(first, {source.Planes, Packing::ByteRun1})
                        .Bytes());
    const uint8_t operation = kind == DeltaKind::SplitShort || kind == DeltaKind::SplitLong ? 7 : 8;
    const uint32_t bits = kind == DeltaKind::SplitLong || kind == DeltaKind::ListLong ? 1 : 0;
    for (size_t f = 1; f < source.Frames.size(); ++f) {
        const IndexPicture& before = source.Frames[f >= 2 ? f - 2 : 0];
        IlbmBuilder frame;
        frame.Chunk("ANHD", AnhdData(operation, 0, source.RelTime, bits));
        if (f < source.FrameColours.size() && !source.FrameColours[f].empty()) frame.Cmap(source.FrameColours[f]);
        frame.Chunk("DLTA", DeltaFor(before, source.Frames[f], source.Planes, kind));
        forms.push_back(frame.Bytes());
    }
    return AnimFile(forms);
}

}  // namespace planora::test
