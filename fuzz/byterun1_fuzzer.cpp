// Fuzz target: the BODY decoder alone, ByteRun1 or raw.
//
// The first four input bytes choose the picture (width 1-1024, height 1-64,
// 1-8 planes, mask plane or not, packed or raw); the rest is the BODY data,
// wrapped in a minimal FORM/ILBM/BMHD/BODY file. The decoded palette indices
// are compared with a plain byte-at-a-time decoder written from the format
// rules, so a wrong pixel is a finding too, not only a crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace {

void PutBig(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

struct Shape {
    int32_t width, height, planes;
    bool mask, packed;
};

// The file cache reads 0 past the end of the file.
struct Stream {
    const std::vector<uint8_t>& file;
    size_t pos;
    uint8_t Next() { return pos < file.size() ? file[pos++] : (++pos, 0); }
};

// One plane row: control n 0-127 copies n + 1 bytes, 129-255 repeats the
// next byte 257 - n times, 128 does nothing; bytes past the row are dropped.
void ReferencePlaneRow(Stream& in, bool packed, std::vector<uint8_t>& row) {
    const size_t rowBytes = row.size();
    if (!packed) {
        for (auto& b : row) b = in.Next();
        return;
    }
    size_t x = 0;
    do {
        const uint8_t n = in.Next();
        if (n < 128) {
            for (int i = 0; i <= n; ++i, ++x) {
                const uint8_t b = in.Next();
                if (x < rowBytes) row[x] = b;
            }
        } else if (n > 128) {
            const uint8_t b = in.Next();
            for (int i = 0; i < 257 - n; ++i, ++x)
                if (x < rowBytes) row[x] = b;
        }
    } while (x < rowBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const Shape shape{1 + ((data[0] << 8 | data[1]) & 1023), 1 + (data[2] & 63), 1 + (data[3] & 7),
                      (data[3] & 8) != 0, (data[3] & 16) == 0};

    std::vector<uint8_t> file = {'F', 'O', 'R', 'M', 0, 0, 0, 0, 'I', 'L', 'B', 'M', 'B', 'M', 'H', 'D'};
    PutBig(file, 20, 4);
    PutBig(file, uint32_t(shape.width), 2);
    PutBig(file, uint32_t(shape.height), 2);
    PutBig(file, 0, 4);
    file.push_back(uint8_t(shape.planes));
    file.push_back(shape.mask ? 1 : 0);
    file.push_back(shape.packed ? 1 : 0);
    file.insert(file.end(), 9, 0);
    file.insert(file.end(), {'B', 'O', 'D', 'Y'});
    PutBig(file, uint32_t(size - 4), 4);
    const size_t bodyStart = file.size();
    file.insert(file.end(), data + 4, data + size);
    const uint32_t formLength = uint32_t(file.size() - 8);
    for (int i = 0; i < 4; ++i) file[4 + i] = uint8_t(formLength >> (8 * (3 - i)));

    planora::PictureContext pic;
    try {
        if (pic.Load_IFF_From_Memory("fuzz.iff", file) != 1) std::abort();
    } catch (const planora::RunTimeError&) {
        std::abort();  // nothing in such a file may fail
    }

    const size_t rowBytes = size_t(2 * ((shape.width + 15) / 16));
    std::vector<std::vector<uint8_t>> planes(size_t(shape.planes) + 1, std::vector<uint8_t>(rowBytes));
    Stream in{file, bodyStart};
    for (int32_t y = 1; y <= shape.height; ++y) {
        const int32_t rows = shape.planes + (shape.mask ? 1 : 0);
        for (int32_t p = 0; p < rows; ++p) ReferencePlaneRow(in, shape.packed, planes[size_t(p)]);
        for (int32_t x = 0; x < shape.width; ++x) {
            uint32_t index = 0;
            for (int32_t p = 0; p < shape.planes; ++p)
                index |= uint32_t((planes[size_t(p)][size_t(x) / 8] >> (7 - x % 8)) & 1) << p;
            if (pic.ChunkyAt(x, y) != index) std::abort();
        }
    }
    return 0;
}
