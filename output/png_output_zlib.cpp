// PNG output through zlib.
//
//   signature  89 50 4E 47 0D 0A 1A 0A
//   IHDR       width, height, bit depth 8, colour type 2 (RGB) or 6 (RGBA),
//              deflate, adaptive filtering, no interlace
//   IDAT       the zlib stream of the rows, each a filter byte (0, none)
//              followed by its pixels
//   IEND
// Every chunk is a big-endian length, its type, its data and the CRC-32 of
// type and data. zlib keeps the converter, the thumbnailer and the image
// loaders free of a GUI library, whose loading alone would cost more than
// converting a small picture.
#include <zlib.h>

#include "output/png_output.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {

void PutLong(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, size_t size) {
    PutLong(out, uint32_t(size));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    PutLong(out, uint32_t(crc32(0, out.data() + typeAt, uInt(4 + size))));
}

// The filtered rows: a 0 filter byte, then R, G, B (and A) per pixel.
std::vector<uint8_t> Scanlines(const PictureContext& pic, bool alpha) {
    const int32_t width = pic.IlbmInfo.Width, height = pic.IlbmInfo.Height;
    const size_t channels = alpha ? 4 : 3;
    std::vector<uint8_t> rows(size_t(height) * (1 + size_t(width) * channels));
    uint8_t* out = rows.data();
    for (int32_t y = 1; y <= height; ++y) {
        *out++ = 0;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t colour = pic.ColourAt(x, y);
            *out++ = uint8_t(colour >> 16);
            *out++ = uint8_t(colour >> 8);
            *out++ = uint8_t(colour);
            if (alpha) *out++ = pic.AlphaAt(x, y);
        }
    }
    return rows;
}

// The PNG of filtered rows (see Scanlines).
std::vector<uint8_t> PngOfRows(int32_t width, int32_t height, bool alpha, const std::vector<uint8_t>& rows) {
    uLongf packedSize = compressBound(uLong(rows.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, rows.data(), uLong(rows.size()), Z_DEFAULT_COMPRESSION) != Z_OK)
        throw RunTimeError(kOutOfMemory);

    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutLong(header, uint32_t(width));
    PutLong(header, uint32_t(height));
    header.insert(header.end(), {8, uint8_t(alpha ? 6 : 2), 0, 0, 0});
    PutChunk(png, "IHDR", header.data(), header.size());
    PutChunk(png, "IDAT", packed.data(), packedSize);
    PutChunk(png, "IEND", nullptr, 0);
    return png;
}

}  // namespace

std::vector<uint8_t> EncodePng(const PictureContext& pic) {
    // Pictures that mark transparency (mask plane, transparent colour, deep
    // alpha) get an alpha channel; all others are plain RGB.
    const bool alpha = pic.HasAlpha();
    return PngOfRows(pic.IlbmInfo.Width, pic.IlbmInfo.Height, alpha, Scanlines(pic, alpha));
}

std::vector<uint8_t> EncodePng(const RgbImage& image) {
    const size_t rowBytes = size_t(image.Width) * size_t(image.Channels());
    std::vector<uint8_t> rows;
    rows.reserve(size_t(image.Height) * (rowBytes + 1));
    for (int32_t y = 0; y < image.Height; ++y) {
        rows.push_back(0);
        const auto row = image.Pixels.begin() + std::ptrdiff_t(size_t(y) * rowBytes);
        rows.insert(rows.end(), row, row + std::ptrdiff_t(rowBytes));
    }
    return PngOfRows(image.Width, image.Height, image.Alpha, rows);
}

}  // namespace planora
