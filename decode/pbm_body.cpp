// PBM BODY decoding: the chunky relative of ILBM (FORM type "PBM ").
//
// For every image row from the top, Width bytes, one palette index per pixel
// from the left, padded with one byte when Width is odd so that every row has
// an even length. Packtype 0 stores the rows as they are; any other value
// packs each row with ByteRun1, the same scheme as ILBM plane rows. The
// indices are mapped to colours exactly as the indices of an ILBM are.
#include "decode/pbm_body.h"

#include <algorithm>
#include <cstring>

#include "decode/stored_rows.h"
#include "iff/picture_context.h"

namespace planora {

void DecodePbmBody(PictureContext& pic) {
    const IlbmInfoRecord& info = pic.IlbmInfo;
    const int32_t width = info.Width;
    // The row buffer holds the padded row; RowBytes tells its length.
    pic.RowBytes = width + (width & 1);
    pic.BodyRowBuffer.assign(size_t(pic.RowBytes) + 1, 0);
    const bool packed = info.Packtype != 0;
    const uint8_t* file = pic.FileCache.data();
    const int64_t cacheSize = static_cast<int64_t>(pic.FileCache.size());
    uint8_t* row = pic.BodyRowBuffer.data();

    for (pic.CurrentRow = 1; pic.CurrentRow <= info.Height; ++pic.CurrentRow) {
        if (pic.CachePos >= cacheSize)
            std::fill(pic.BodyRowBuffer.begin(), pic.BodyRowBuffer.end(), 0);  // past the end: index 0
        else if (packed)
            pic.CachePos = UnpackByteRun1Row(file, cacheSize, pic.CachePos, row, pic.RowBytes);
        else
            pic.CachePos = CopyStoredRow(file, cacheSize, pic.CachePos, row, pic.RowBytes);

        const size_t rowStart = size_t(pic.CurrentRow) * size_t(pic.ImageStride());
        uint32_t* colours = &pic.ColourImage[rowStart];
        std::memcpy(&pic.ChunkyImage[rowStart], row, size_t(width));
        for (int32_t x = 0; x < width; ++x) colours[x] = row[size_t(x)];
        colours[width] = 0;
        if (info.MapAfterLoad == 0 && info.DisplayMode != 0) pic.Iff_PalleteMap_ScanLine();
    }
}

}  // namespace planora
