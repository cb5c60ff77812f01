#include "preview_scaling.h"

#include "decode/row_sharing.h"

namespace planora {


// The four channels of a pixel in 16-bit lanes of a 64-bit word (blue, red,
// green, alpha), so four pixels add up without carries.
inline uint64_t Lanes(uint32_t p) {
    const uint64_t v = p;
    return (v | (v << 24)) & 0x00FF00FF00FF00FFull;
}
inline uint32_t Pixel(uint64_t lanes) {
    lanes &= 0x00FF00FF00FF00FFull;
    return uint32_t(lanes | (lanes >> 24));
}

QImage HalveImage(const QImage& image, bool halveX, bool halveY) {
    const QImage source = image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_ARGB32);
    const int stepX = halveX ? 2 : 1, stepY = halveY ? 2 : 1;
    const int width = source.width() / stepX, height = source.height() / stepY;
    QImage result(width, height, source.format());
    if (result.isNull() || width == 0 || height == 0) return result;
    const int count = stepX * stepY;
    const int shift = count == 4 ? 2 : (count == 2 ? 1 : 0);
    const uint64_t half = count == 1 ? 0 : uint64_t(count / 2) * 0x0001000100010001ull;
    // RGB32 leaves the top byte unused (0 in pixels shown from the picture
    // arrays); the result always carries 0xff there, as Qt writes RGB32.
    const uint32_t opaque = source.format() == QImage::Format_RGB32 ? 0xFF000000u : 0u;
    const uchar* const sourceBits = source.constBits();
    const qsizetype sourceLine = source.bytesPerLine();
    uchar* const resultBits = result.bits();
    const qsizetype resultLine = result.bytesPerLine();
    const auto halveRow = [&](int32_t row) {
        const int y = row - 1;
        const auto* top = reinterpret_cast<const uint32_t*>(sourceBits + qsizetype(y * stepY) * sourceLine);
        const auto* bottom =
            reinterpret_cast<const uint32_t*>(sourceBits + qsizetype(y * stepY + stepY - 1) * sourceLine);
        auto* out = reinterpret_cast<uint32_t*>(resultBits + qsizetype(y) * resultLine);
        if (stepX == 2 && stepY == 2) {
            for (int x = 0; x < width; ++x)
                out[x] = opaque | Pixel((Lanes(top[2 * x]) + Lanes(top[2 * x + 1]) + Lanes(bottom[2 * x]) +
                                         Lanes(bottom[2 * x + 1]) + half) >> shift);
        } else if (stepX == 2) {
            for (int x = 0; x < width; ++x)
                out[x] = opaque | Pixel((Lanes(top[2 * x]) + Lanes(top[2 * x + 1]) + half) >> shift);
        } else {
            for (int x = 0; x < width; ++x) out[x] = opaque | Pixel((Lanes(top[x]) + Lanes(bottom[x]) + half) >> shift);
        }
    };
    // Rows are independent; a large picture's first halving is shared out.
    ForEachRow(height, int64_t{source.width()} * source.height(), halveRow);
    return result;
}

QImage ShrinkTowards(const QImage& source, QSize target) {
    QImage image = source;
    for (;;) {
        const bool halveX = image.width() >= 2 * target.width();
        const bool halveY = image.height() >= 2 * target.height();
        if (!halveX && !halveY) return image;
        image = HalveImage(image, halveX, halveY);
    }
}

}  // namespace planora
