// BODY decoding: interleaved bitplane rows, plain or ByteRun1-packed.
//
// For every image row from the top, one row of bits per plane (plane 0
// first), each RowBytes = 2 * ceil(Width / 16) bytes long; with Masking 1 a
// mask plane row follows the bitplane rows. ByteRun1 packs each plane row
// separately with control bytes n:
//   0..127    copy the next n + 1 bytes
//   128       no operation
//   129..255  repeat the next byte 257 - n times
// Bytes of a run that fall past the end of the plane row are dropped.
// Bytes past the end of the file read as 0, so a truncated BODY decodes into
// rows of colour 0 instead of reading outside the cache.
#include <algorithm>
#include <cstring>

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
    const int64_t cacheSize = static_cast<int64_t>(FileCache.size());
    const int64_t available = std::max<int64_t>(0, cacheSize - CachePos);
    const size_t copied = size_t(std::min<int64_t>(RowBytes, available));
    if (copied) std::memcpy(dest, FileCache.data() + CachePos, copied);
    std::memset(dest + copied, 0, size_t(RowBytes) - copied);
    CachePos += RowBytes;
}

// Runs this short, with this much room left in the row, are copied as one
// fixed-size block: the bytes past the run are within the row and written
// again by the runs that follow, so a single wide move replaces a call.
constexpr int32_t kShortRun = 16;

void PictureContext::ReadPlaneRowByteRun1(uint8_t* dest) {
    const uint8_t* data = FileCache.data();
    const int64_t size = static_cast<int64_t>(FileCache.size());
    const int32_t rowBytes = RowBytes;
    int64_t pos = CachePos;
    int32_t x = 0;
    // The test comes after each run, so even an empty row takes one control byte.
    do {
        const uint32_t n = pos < size ? data[pos] : 0;
        ++pos;
        if (n < 128) {
            const int32_t count = int32_t(n) + 1;
            if (count <= kShortRun && x + kShortRun <= rowBytes && pos + kShortRun <= size) {
                std::memcpy(dest + x, data + pos, kShortRun);
            } else {
                const int32_t kept = std::max(0, std::min(count, rowBytes - x));
                const int64_t inFile = std::max<int64_t>(0, std::min<int64_t>(kept, size - pos));
                if (inFile) std::memcpy(dest + x, data + pos, size_t(inFile));
                if (kept > inFile) std::memset(dest + x + inFile, 0, size_t(kept - inFile));
            }
            pos += count;
            x += count;
        } else if (n > 128) {
            const uint8_t value = pos < size ? data[pos] : 0;
            ++pos;
            const int32_t count = 257 - int32_t(n);
            if (count <= kShortRun && x + kShortRun <= rowBytes) {
                std::memset(dest + x, value, kShortRun);
            } else {
                const int32_t kept = std::max(0, std::min(count, rowBytes - x));
                if (kept) std::memset(dest + x, value, size_t(kept));
            }
            x += count;
        }
    } while (x < rowBytes);
    CachePos = pos;
}

}  // namespace planora
