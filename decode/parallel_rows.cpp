// Decoding a large BODY on two threads.
//
// ByteRun1 has to be read from the start, one row after another, but once a
// row's plane bytes are known its conversion to indices and, for pictures
// without per-line palettes, its mapping to colours depend on nothing but
// tables that stay fixed during the BODY. So this thread unpacks every row
// into a ring of planar rows and publishes how far it got, while a second thread
// converts and maps the rows behind it; when the unpacking is done this thread
// joins in. Rows are handed out one at a time, so each is converted exactly
// once, and the result is the same as converting row by row.
// A picture without a CAMG chunk before its BODY is mapped after the chunk
// walk; without per-line palettes its rows are shared out the same way.
#include <algorithm>
#include <cstring>

#include "decode/planar_rows.h"
#include "decode/row_sharing.h"
#include "iff/picture_context.h"

namespace planora {

namespace {
// Room for the unpacked rows not yet converted.
constexpr size_t kRingBytes = size_t{1} << 20;
}  // namespace

std::function<void(int32_t)> PictureContext::RowReporter() {
    if (!rowObserver_) return {};
    rowsReported_ = true;
    return [observer = rowObserver_](int32_t lastRow) { observer->RowsFinished(lastRow); };
}

void PictureContext::BeforeRowsChange() {
    if (rowsReported_ && rowObserver_) rowObserver_->RowsChanging();
    rowsReported_ = false;
}

bool PictureContext::DecodeRowsInParallel(bool packed) {
    const IlbmInfoRecord& info = IlbmInfo;
    const int32_t planes = info.Bitplanes, width = info.Width, height = info.Height;
    const bool mapNow = info.MapAfterLoad == 0 && info.DisplayMode != 0;
    const int16_t mode = info.DisplayMode == 0 ? 1 : info.DisplayMode;
    // Per-line palettes change the colours from row to row, and a mask plane
    // goes to the alpha array: those take the ordinary road.
    const bool rowsIndependent = !mapNow || LineColours(mode).SameForEveryRow();
    if (!AllowParallelDecode || !rowsIndependent || planes < 1 || planes > 8 || info.Masking == 1 ||
        IsDeepPicture() || !WorthTwoThreads(int64_t{info.Width} * info.Height))
        return false;

    const size_t planeStride = size_t(RowBytes) + 1;
    const size_t rowStride = planeStride * size_t(planes);
    // The unpacked rows wait in a ring of slots, small enough to stay in the
    // cache, which the unpacking reuses once the row before has been converted.
    const int32_t slots = int32_t(std::max<size_t>(1, std::min<size_t>(kRingBytes / rowStride, size_t(height))));
    PixelArray<uint8_t> planar(rowStride * size_t(slots));
    const auto slot = [&](int32_t row) { return &planar[size_t((row - 1) % slots) * rowStride]; };
    const ColourMapping mapping = MakeColourMapping(mode, Palette.data());

    RowSharing rows(
        height,
        [&](int32_t row) {
            const size_t start = size_t(row) * size_t(imageStride_);
            const uint8_t* rowPlanes = slot(row);
            if (mapNow) {
                // Straight from the indices to the colours, with no widened copy in between.
                ConvertPlaneRows(rowPlanes, planeStride, planes, width, &ChunkyImage[start], nullptr);
                MapChunkyRow(&ChunkyImage[start], &ColourImage[start], mapping);
            } else {
                ConvertPlaneRows(rowPlanes, planeStride, planes, width, &ChunkyImage[start], &ColourImage[start]);
                ColourImage[start + size_t(width)] = 0;
            }
        },
        false, mapNow ? RowReporter() : nullptr);
    if (!rows.StartHelper()) return false;  // no second thread to be had: the ordinary road

    const int64_t cacheSize = static_cast<int64_t>(FileCache.size());
    for (int32_t row = 1; row <= height; ++row) {
        rows.HelpUntilDone(row - slots);
        uint8_t* rowPlanes = slot(row);
        if (CachePos >= cacheSize) {
            // Past the end of the file only zeros are left.
            std::memset(rowPlanes, 0, rowStride);
        } else {
            for (int32_t p = 0; p < planes; ++p) ReadPlaneRow(rowPlanes + size_t(p) * planeStride, packed);
        }
        rows.Publish(row);
    }
    rows.FinishHere();

    // As after the row-by-row loop: the last row's planes in the row buffer.
    if (height > 0) std::memcpy(BodyRowBuffer.data(), slot(height), rowStride);
    CurrentRow = height + 1;
    return true;
}

bool PictureContext::MapImageInParallel() {
    const IlbmInfoRecord& info = IlbmInfo;
    const int16_t mode = info.DisplayMode == 0 ? 1 : info.DisplayMode;
    // Line palettes change the colours row by row, in order.
    if (!AllowParallelDecode || !LineColours(mode).SameForEveryRow() ||
        !WorthTwoThreads(int64_t{info.Width} * info.Height))
        return false;

    const ColourMapping mapping = MakeColourMapping(mode, Palette.data());
    RowSharing rows(
        info.Height,
        [&](int32_t row) { MapRowColours(&ColourImage[size_t(row) * size_t(imageStride_)], mapping); }, true,
        RowReporter());
    if (!rows.StartHelper()) return false;
    rows.FinishHere();
    CurrentRow = info.Height + 1;
    return true;
}

}  // namespace planora
