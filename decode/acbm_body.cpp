// ACBM ("Amiga Contiguous BitMap"): the bitplanes one after another.
//
// Instead of a BODY, an ACBM file has an ABIT chunk holding the whole of
// plane 0 (Height rows of RowBytes bytes, top row first), then the whole of
// plane 1, and so on, uncompressed. The BMHD, CMAP and CAMG are those of an
// ILBM, and the rows are converted and mapped as ILBM rows are.
#include <algorithm>
#include <cstring>

#include "iff/picture_context.h"

namespace planora {

void PictureContext::DecodeAcbmBody(uint32_t length) {
    const int64_t cacheSize = static_cast<int64_t>(FileCache.size());
    const int64_t available = std::clamp<int64_t>(cacheSize - CachePos, 0, int64_t{length});
    DecodeContiguousPlanes(FileCache.data() + std::min<int64_t>(CachePos, cacheSize), size_t(available));
}

void PictureContext::DecodeContiguousPlanes(const uint8_t* planes, size_t size) {
    RowBytes = 2 * ((IlbmInfo.Width + 15) / 16);
    BodyRowBuffer.assign(size_t(RowBytes + 1) * size_t(IlbmInfo.Bitplanes + 1), 0);
    const size_t planeStride = size_t(RowBytes) + 1;
    const size_t planeBytes = size_t(RowBytes) * size_t(IlbmInfo.Height);

    for (CurrentRow = 1; CurrentRow <= IlbmInfo.Height; ++CurrentRow) {
        for (int32_t p = 0; p < IlbmInfo.Bitplanes; ++p) {
            uint8_t* dest = &BodyRowBuffer[size_t(p) * planeStride];
            // Bytes missing from a short chunk read as 0.
            const size_t from = size_t(p) * planeBytes + size_t(CurrentRow - 1) * size_t(RowBytes);
            const size_t copied = from < size ? std::min(size - from, size_t(RowBytes)) : 0;
            if (copied) std::memcpy(dest, planes + from, copied);
            std::memset(dest + copied, 0, size_t(RowBytes) - copied);
        }
        Iff_P2C_Strip(CurrentRow);
    }
}

}  // namespace planora
