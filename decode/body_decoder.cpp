// BODY decoding: interleaved bitplane rows, plain or ByteRun1-packed.
//
// For every image row from the top, one row of bits per plane (plane 0
// first), each RowBytes = 2 * ceil(Width / 16) bytes long; with Masking 1 a
// mask plane row follows the bitplane rows. ByteRun1 packs each plane row
// separately (decode/stored_rows.h).
// Bytes past the end of the file read as 0, so a truncated BODY decodes into
// rows of colour 0 instead of reading outside the cache.
#include <algorithm>
#include <cstring>

#include "decode/stored_rows.h"
#include "iff/picture_context.h"

namespace planora {

namespace {
constexpr int32_t kMaskingHasMaskPlane = 1;
}

void PictureContext::IFF_Decode_Body() {
    RowBytes = 2 * ((IlbmInfo.Width + 15) / 16);
    BodyRowBuffer.assign(size_t(RowBytes + 1) * size_t(IlbmInfo.Bitplanes + 1), 0);
    if (IlbmInfo.Packtype != 0) {
        Iff_Decode_Body_COMPRESSED();
        return;
    }
    DecodeRows(false);
}

void PictureContext::Iff_Decode_Body_COMPRESSED() {
    BodyRowBuffer.assign(size_t(RowBytes + 1) * size_t(IlbmInfo.Bitplanes + 1), 0);
    DecodeRows(true);
}

void PictureContext::DecodeRows(bool packed) {
    const int32_t planes = IlbmInfo.Bitplanes;
    const size_t planeStride = size_t(RowBytes) + 1;
    // The spare plane row past the last bitplane takes the mask, which is
    // kept as the picture's alpha.
    const bool hasMask = IlbmInfo.Masking == kMaskingHasMaskPlane;
    if (DecodeRowsInParallel(packed)) return;
    const int64_t cacheSize = static_cast<int64_t>(FileCache.size());

    for (CurrentRow = 1; CurrentRow <= IlbmInfo.Height; ++CurrentRow) {
        if (CachePos >= cacheSize) {
            // Only zeros are left: every remaining row is colour 0.
            std::fill(BodyRowBuffer.begin(), BodyRowBuffer.end(), 0);
            for (; CurrentRow <= IlbmInfo.Height; ++CurrentRow) Iff_P2C_Strip(CurrentRow);
            break;
        }
        const int32_t rowsToRead = planes + (hasMask ? 1 : 0);
        for (int32_t p = 0; p < rowsToRead; ++p) {
            ReadPlaneRow(&BodyRowBuffer[size_t(std::min(p, planes)) * planeStride], packed);
        }
        if (hasMask) KeepMaskRow(CurrentRow);
        Iff_P2C_Strip(CurrentRow);
    }
}

void PictureContext::ReadPlaneRow(uint8_t* dest, bool packed) {
    if (packed)
        ReadPlaneRowByteRun1(dest);
    else
        ReadPlaneRowRaw(dest);
}

void PictureContext::ReadPlaneRowRaw(uint8_t* dest) {
    CachePos = CopyStoredRow(FileCache.data(), static_cast<int64_t>(FileCache.size()), CachePos, dest, RowBytes);
}

void PictureContext::ReadPlaneRowByteRun1(uint8_t* dest) {
    CachePos = UnpackByteRun1Row(FileCache.data(), static_cast<int64_t>(FileCache.size()), CachePos, dest, RowBytes);
}

}  // namespace planora
