// PNG output through zlib: signature, IHDR (RGB or RGBA, 8 bits), one IDAT
// holding the zlib stream of the rows, each a filter byte (0, none) followed
// by its pixels, and IEND. zlib keeps the converter, the thumbnailer and the
// image loaders free of a GUI library, whose loading alone would cost more
// than converting a small picture.
#include <zlib.h>

#include "output/png_chunks.h"
#include "output/png_output.h"

namespace planora {

namespace {

// The PNG of filtered rows.
std::vector<uint8_t> PngOfRows(int32_t width, int32_t height, bool alpha, const std::vector<uint8_t>& rows) {
    const std::vector<uint8_t> packed = DeflateRows(rows, Z_DEFAULT_COMPRESSION);
    std::vector<uint8_t> png = PngSignature();
    PutPngChunk(png, "IHDR", PngHeaderData(width, height, alpha ? kPngColourRgba : kPngColourRgb));
    PutPngChunk(png, "IDAT", packed);
    PutPngChunk(png, "IEND", nullptr, 0);
    return png;
}

}  // namespace

std::vector<uint8_t> EncodePng(const PictureView& picture) {
    const bool alpha = picture.HasAlpha();
    const size_t channels = alpha ? 4 : 3;
    std::vector<uint8_t> rows(size_t(picture.Height) * (1 + size_t(picture.Width) * channels));
    uint8_t* out = rows.data();
    for (int32_t y = 0; y < picture.Height; ++y) {
        *out++ = 0;
        out = WriteRgbRow(picture, y, alpha, out);
    }
    return PngOfRows(picture.Width, picture.Height, alpha, rows);
}

}  // namespace planora
