#include "output/png_chunks.h"

#include <zlib.h>

#include "iff/run_time_error.h"

namespace planora {

std::vector<uint8_t> PngSignature() { return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}; }

void PutPngLong(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void PutPngWord(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void PutPngChunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, size_t size) {
    PutPngLong(out, uint32_t(size));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0) out.insert(out.end(), data, data + size);
    PutPngLong(out, uint32_t(crc32(0, out.data() + typeAt, uInt(4 + size))));
}

std::vector<uint8_t> PngHeaderData(int32_t width, int32_t height, uint8_t colourType) {
    std::vector<uint8_t> header;
    PutPngLong(header, uint32_t(width));
    PutPngLong(header, uint32_t(height));
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    return header;
}

std::vector<uint8_t> DeflateRows(const std::vector<uint8_t>& rows, int level) {
    uLongf size = compressBound(uLong(rows.size()));
    std::vector<uint8_t> packed(size);
    if (compress2(packed.data(), &size, rows.data(), uLong(rows.size()), level) != Z_OK)
        throw RunTimeError(kOutOfMemory);
    packed.resize(size);
    return packed;
}

}  // namespace planora
