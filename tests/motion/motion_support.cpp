#include "motion_support.h"

#include <functional>

#include "temp_dir.h"

namespace planora::test {

std::vector<RgbPicture> FfmpegFrames(const std::string& path, int32_t width, int32_t height,
                                     const std::string& inputFormat) {
    TempDir dir;
    std::vector<RgbPicture> frames;
    if (!Run("ffmpeg -nostdin -v error -y -vsync passthrough " + inputFormat + " -i '" + path +
                 "' -f rawvideo -pix_fmt rgb24 '" + dir.File("f.rgb") + "'",
             dir.File("log")))
        return frames;
    const std::vector<uint8_t> bytes = ReadBytes(dir.File("f.rgb"));
    const size_t size = size_t(width) * size_t(height) * 3;
    for (size_t at = 0; at + size <= bytes.size(); at += size)
        frames.push_back(
            {width, height, {bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at + size)}});
    return frames;
}

namespace {
void PutItem(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

// Column `col` (of `bytes`-byte values) of one plane, top to bottom.
std::vector<uint32_t> Column(const IndexPicture& picture, int plane, int col, int bytes) {
    std::vector<uint32_t> column;
    for (int32_t y = 0; y < picture.Height; ++y) {
        const std::vector<uint8_t> row = PlaneRow(picture, y, plane);
        uint32_t value = 0;
        for (size_t at = size_t(col * bytes); at < size_t(col * bytes + bytes); ++at)
            value = (value << 8) | (at < row.size() ? row[at] : 0);
        column.push_back(value);
    }
    return column;
}

// The ops of one column: skip runs (a final one left out), same runs of 3 or
// more, unique runs. putOp writes an op or count, putValue a value.
size_t ColumnOps(const std::vector<uint32_t>& before, const std::vector<uint32_t>& after, uint32_t maxRun,
                 uint32_t uniqueBit, const std::function<void(uint32_t)>& putOp,
                 const std::function<void(uint32_t)>& putValue) {
    size_t ops = 0, y = 0, n = after.size();
    while (y < n) {
        uint32_t run = 0;
        while (y + run < n && run < maxRun && before[y + run] == after[y + run]) ++run;
        if (run > 0) {
            if (y + run < n) putOp(run), ++ops;
        } else {
            while (y + run < n && run < maxRun && after[y + run] == after[y]) ++run;
            if (run >= 3) {
                putOp(0), putOp(run), putValue(after[y]), ++ops;
            } else {
                run = 0;
                while (y + run < n && run < maxRun && before[y + run] != after[y + run]) ++run;
                putOp(uniqueBit | run), ++ops;
                for (uint32_t i = 0; i < run; ++i) putValue(after[y + i]);
            }
        }
        y += run;
    }
    return ops;
}

std::vector<uint8_t> DeltaFor(const IndexPicture& before, const IndexPicture& after, int planes, DeltaKind kind) {
    const bool split = kind == DeltaKind::SplitShort || kind == DeltaKind::SplitLong;
    const int bytes = kind == DeltaKind::SplitLong || kind == DeltaKind::ListLong ? 4 : 2;
    const uint32_t uniqueBit = split ? 0x80 : (bytes == 2 ? 0x8000u : 0x80000000u);
    // Operation 7 has byte ops and counts; operation 8 words or longs.
    auto put = [&](std::vector<uint8_t>& out, uint32_t v, bool op) {
        if (op && split)
            out.push_back(uint8_t(v));
        else
            PutItem(out, v, bytes);
    };
    std::vector<uint8_t> delta(64, 0);
    auto list = [&](int slot, const std::vector<uint8_t>& bytesOfList) {
        for (int i = 0; i < 4; ++i) delta[size_t(4 * slot + i)] = uint8_t(delta.size() >> (24 - 8 * i));
        delta.insert(delta.end(), bytesOfList.begin(), bytesOfList.end());
    };
    for (int p = 0; p < planes; ++p) {
        std::vector<uint8_t> ops, data;
        size_t total = 0;
        for (int c = 0; c < (PlaneRowBytes(after.Width) + bytes - 1) / bytes; ++c) {
            std::vector<uint8_t> column;
            const size_t count = ColumnOps(
                Column(before, p, c, bytes), Column(after, p, c, bytes), split ? 127 : 0x7FFF, uniqueBit,
                [&](uint32_t v) { put(column, v, true); }, [&](uint32_t v) { put(split ? data : column, v, false); });
            put(ops, uint32_t(count), true);
            ops.insert(ops.end(), column.begin(), column.end());
            total += count;
        }
        if (total == 0) continue;  // offset 0: the plane does not change
        list(p, ops);
        if (split) list(8 + p, data);
    }
    // Room after the last value: ffmpeg leaves out a value that ends exactly
    // at the end of the chunk.
    delta.insert(delta.end(), 4, 0);
    return delta;
}
}  // namespace

std::vector<uint8_t> AnhdData(uint8_t operation, uint8_t interleave, uint32_t relTime, uint32_t bits) {
    std::vector<uint8_t> anhd{operation};
    anhd.resize(14);
    PutLong(anhd, relTime);
    anhd.insert(anhd.end(), {interleave, 0});
    PutLong(anhd, bits);
    anhd.resize(40);
    return anhd;
}

std::vector<uint8_t> AnimFile(const std::vector<std::vector<uint8_t>>& forms) {
    std::vector<uint8_t> all;
    for (const auto& form : forms) all.insert(all.end(), form.begin(), form.end());
    return IlbmBuilder().FormType("ANIM").Raw(all).Bytes();
}

std::vector<uint8_t> EncodeAnim(const AnimSource& source, DeltaKind kind) {
    const IndexPicture& first = source.Frames[0];
    std::vector<std::vector<uint8_t>> forms{IlbmBuilder()
                                                .Bmhd(first.Width, first.Height, source.Planes, 1)
                                                .Cmap(source.Colours)
                                                .Body(first, {source.Planes, Packing::ByteRun1})
                                                .Bytes()};
    const uint8_t operation = kind == DeltaKind::SplitShort || kind == DeltaKind::SplitLong ? 7 : 8;
    const uint32_t bits = kind == DeltaKind::SplitLong || kind == DeltaKind::ListLong ? 1 : 0;
    for (size_t f = 1; f < source.Frames.size(); ++f) {
        IlbmBuilder frame;
        frame.Chunk("ANHD", AnhdData(operation, 0, source.RelTime, bits));
        frame.Chunk("DLTA", DeltaFor(source.Frames[f >= 2 ? f - 2 : 0], source.Frames[f], source.Planes, kind));
        forms.push_back(frame.Bytes());
    }
    return AnimFile(forms);
}

}  // namespace planora::test
