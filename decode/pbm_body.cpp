// PBM BODY decoding: the chunky relative of ILBM (FORM type "PBM ").
//
// For every image row from the top, Width bytes, one palette index per pixel
// from the left, padded with one byte when Width is odd so that every row has
// an even length. Packtype 0 stores the rows as they are; any other value
// packs each row with ByteRun1, the same scheme as ILBM plane rows. The
// indices are mapped to colours exactly as the indices of an ILBM are.
#include <algorithm>
#include <cstring>

#include "iff/picture_context.h"

namespace planora {

void PictureContext::DecodePbmBody() {
    const int32_t width = IlbmInfo.Width;
    // The row readers read RowBytes bytes, here the padded row.
    RowBytes = width + (width & 1);
    BodyRowBuffer.assign(size_t(RowBytes) + 1, 0);
    const bool packed = IlbmInfo.Packtype != 0;
    const int64_t cacheSize = static_cast<int64_t>(FileCache.size());

    for (CurrentRow = 1; CurrentRow <= IlbmInfo.Height; ++CurrentRow) {
        if (CachePos >= cacheSize)
            std::fill(BodyRowBuffer.begin(), BodyRowBuffer.end(), 0);  // past the end: index 0
        else
            ReadPlaneRow(BodyRowBuffer.data(), packed);

        const size_t rowStart = size_t(CurrentRow) * size_t(imageStride_);
        uint32_t* colours = &ColourImage[rowStart];
        std::memcpy(&ChunkyImage[rowStart], BodyRowBuffer.data(), size_t(width));
        for (int32_t x = 0; x < width; ++x) colours[x] = BodyRowBuffer[size_t(x)];
        colours[width] = 0;
        if (IlbmInfo.MapAfterLoad == 0 && IlbmInfo.DisplayMode != 0) Iff_PalleteMap_ScanLine();
    }
}

}  // namespace planora
