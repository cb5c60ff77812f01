#include "decode/contiguous_planes.h"

#include <algorithm>
#include <cstring>

#include "iff/picture_context.h"

namespace planora {

void DecodeContiguousPlanes(PictureContext& pic, ByteSpan planes) {
    const IlbmInfoRecord& info = pic.IlbmInfo;
    pic.RowBytes = 2 * ((info.Width + 15) / 16);
    const size_t rowBytes = size_t(pic.RowBytes);
    pic.BodyRowBuffer.assign((rowBytes + 1) * size_t(info.Bitplanes + 1), 0);
    const size_t planeStride = rowBytes + 1;
    const size_t planeBytes = rowBytes * size_t(info.Height);
    const size_t size = planes.size();

    for (pic.CurrentRow = 1; pic.CurrentRow <= info.Height; ++pic.CurrentRow) {
        for (int32_t p = 0; p < info.Bitplanes; ++p) {
            uint8_t* dest = &pic.BodyRowBuffer[size_t(p) * planeStride];
            // Bytes missing from a short chunk read as 0.
            const size_t from = size_t(p) * planeBytes + size_t(pic.CurrentRow - 1) * rowBytes;
            const size_t copied = from < size ? std::min(size - from, rowBytes) : 0;
            if (copied) std::memcpy(dest, planes.data() + from, copied);
            std::memset(dest + copied, 0, rowBytes - copied);
        }
        pic.Iff_P2C_Strip(pic.CurrentRow);
    }
}

}  // namespace planora
