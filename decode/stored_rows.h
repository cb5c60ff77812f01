// One row of a BODY as it is stored: plain, or packed with ByteRun1. The
// ILBM plane rows and the PBM pixel rows share these readers.
//
// ByteRun1 packs each row separately with control bytes n:
//   0..127    copy the next n + 1 bytes
//   128       no operation
//   129..255  repeat the next byte 257 - n times
// Bytes of a run that fall past the end of the row are dropped. Bytes past
// the end of `data` read as 0.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace planora {

// Copies rowBytes bytes from data[pos] into dest, zeros past the end of the
// data; returns the position after the row.
inline int64_t CopyStoredRow(const uint8_t* data, int64_t size, int64_t pos, uint8_t* dest, int32_t rowBytes) {
    const int64_t available = std::max<int64_t>(0, size - pos);
    const size_t copied = size_t(std::min<int64_t>(rowBytes, available));
    if (copied) std::memcpy(dest, data + pos, copied);
    std::memset(dest + copied, 0, size_t(rowBytes) - copied);
    return pos + rowBytes;
}

// Runs this short, with this much room left in the row, are copied as one
// fixed-size block: the bytes past the run are within the row and written
// again by the runs that follow, so a single wide move replaces a call.
constexpr int32_t kShortRun = 16;

// Unpacks one ByteRun1 row of rowBytes bytes starting at data[pos] into
// dest; returns the position after the row's last control or data byte.
inline int64_t UnpackByteRun1Row(const uint8_t* data, int64_t size, int64_t pos, uint8_t* dest, int32_t rowBytes) {
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
    return pos;
}

}  // namespace planora
