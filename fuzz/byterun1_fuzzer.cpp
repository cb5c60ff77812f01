// Fuzz target: the BODY decoder alone, ByteRun1 or raw.
//
// The first four input bytes choose the picture (width 1-1024, height 1-64,
// 1-8 planes, mask plane or not, packed or raw); the rest is the BODY data,
// wrapped in a minimal FORM/ILBM/BMHD/BODY file. The decoded palette indices
// are compared with a plain byte-at-a-time decoder written from the format
// rules, so a wrong pixel is a finding too, not only a crash. The core tests
// call BodyDecodesAsReference with generated streams as well.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora::fuzz {

bool BodyDecodesAsReference(const uint8_t* data, size_t size) {
    if (size < 4) return true;
    const int32_t width = 1 + ((data[0] << 8 | data[1]) & 1023), height = 1 + (data[2] & 63), planes = 1 + (data[3] & 7);
    const bool mask = (data[3] & 8) != 0, packed = (data[3] & 16) == 0;
    std::vector<uint8_t> file = {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'I', 'L', 'B', 'M', 'B', 'M', 'H', 'D', 0, 0, 0, 20,
                                 uint8_t(width >> 8), uint8_t(width), 0, uint8_t(height), 0, 0, 0, 0, uint8_t(planes), mask,
                                 packed, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'B', 'O', 'D', 'Y', 0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        file[4 + size_t(i)] = uint8_t((size - 4 + 40) >> (24 - 8 * i));  // FORM length
        file[44 + size_t(i)] = uint8_t((size - 4) >> (24 - 8 * i));      // BODY length
    }
    file.insert(file.end(), data + 4, data + size);
    PictureContext pic;
    try {
        if (pic.Load_IFF_From_Memory("fuzz.iff", file) != 1) return false;
    } catch (const RunTimeError&) {
        return false;  // nothing in such a file may fail
    }
    // The reference: control n 0-127 copies n + 1 bytes, 129-255 repeats the
    // next byte 257 - n times, 128 does nothing; bytes past the plane row are
    // dropped, bytes past the end of the file read as 0.
    size_t pos = 48;
    const auto next = [&] { return pos < file.size() ? file[pos++] : (++pos, uint8_t(0)); };
    const size_t rowBytes = size_t(2 * ((width + 15) / 16));
    std::vector<std::vector<uint8_t>> rows(size_t(planes) + 1, std::vector<uint8_t>(rowBytes));
    for (int32_t y = 1; y <= height; ++y) {
        for (int32_t p = 0; p < planes + mask; ++p) {
            std::vector<uint8_t>& row = rows[size_t(p)];
            if (!packed) for (uint8_t& b : row) b = next();
            for (size_t x = 0; packed && x < rowBytes;) {
                const int n = next();
                if (n == 128) continue;
                const uint8_t repeated = n > 128 ? next() : 0;
                for (int i = 0; i < (n < 128 ? n + 1 : 257 - n); ++i, ++x) {
                    const uint8_t b = n < 128 ? next() : repeated;
                    if (x < rowBytes) row[x] = b;
                }
            }
        }
        for (int32_t x = 0; x < width; ++x) {
            uint32_t index = 0;
            for (int32_t p = 0; p < planes; ++p) index |= uint32_t((rows[size_t(p)][size_t(x) / 8] >> (7 - x % 8)) & 1) << p;
            if (pic.ChunkyAt(x, y) != index) return false;
        }
    }
    return true;
}

}  // namespace planora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!planora::fuzz::BodyDecodesAsReference(data, size)) std::abort();
    return 0;
}
