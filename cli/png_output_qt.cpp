#include <QBuffer>
#include <QImage>

#include "cli/png_output.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora::cli {

bool PngAvailable() { return true; }

std::vector<uint8_t> EncodePng(const PictureContext& pic) {
    const int32_t width = pic.IlbmInfo.Width;
    const int32_t height = pic.IlbmInfo.Height;
    // Pictures that mark transparency (mask plane, transparent colour, deep
    // alpha) are written with an alpha channel, all others as plain RGB.
    const bool alpha = pic.HasAlpha();
    QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) throw RunTimeError(kOutOfMemory);
    for (int32_t y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (alpha) {
            for (int32_t x = 0; x < width; ++x) line[x] = uint32_t(pic.AlphaAt(x, y + 1)) << 24 | pic.ColourAt(x, y + 1);
        } else {
            for (int32_t x = 0; x < width; ++x) line[x] = 0xFF000000u | pic.ColourAt(x, y + 1);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw RunTimeError(kDeviceIoError, "PNG encoding failed");
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace planora::cli
