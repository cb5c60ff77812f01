#include "ilbm_handler.h"

#include <QIODevice>
#include <QImage>
#include <QVariant>

#include <new>

#include "iff/picture_context.h"
#include "iff/picture_signature.h"
#include "iff/run_time_error.h"

namespace {
bool IsPictureForm(const QByteArray& head) {
    return planora::LooksLikePicture(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size()));
}

std::vector<uint8_t> ToVector(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    return std::vector<uint8_t>(data, data + bytes.size());
}
}  // namespace

bool IlbmHandler::canRead(QIODevice* device) {
    return device && IsPictureForm(device->peek(planora::kSignatureBytes));
}

bool IlbmHandler::canRead() const {
    if (bytes_ ? !IsPictureForm(bytes_->left(planora::kSignatureBytes)) : !canRead(device())) return false;
    setFormat("iff");
    return true;
}

const QByteArray& IlbmHandler::Bytes() const {
    if (!bytes_) bytes_ = device() ? device()->readAll() : QByteArray();
    return *bytes_;
}

QImage IlbmHandler::Decode() const {
    if (decoded_) return *decoded_;
    decoded_ = QImage();
    planora::PictureContext pic;
    try {
        if (pic.Load_IFF_From_Memory("picture", ToVector(Bytes())) == 0) return *decoded_;
    } catch (const planora::RunTimeError&) {
        return *decoded_;
    } catch (const std::bad_alloc&) {
        return *decoded_;
    }
    const int width = pic.IlbmInfo.Width, height = pic.IlbmInfo.Height;
    if (width < 1 || height < 1) return *decoded_;
    const bool alpha = pic.HasAlpha();
    QImage image;
    // allocateImage keeps to QImageReader's allocation limit.
    if (!QImageIOHandler::allocateImage(QSize(width, height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32,
                                        &image))
        return *decoded_;
    // Picture rows are 1-based in the arrays, columns 0-based.
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const uint32_t colour = pic.ColourAt(x, y + 1) & 0xFFFFFF;
            row[x] = (uint32_t(alpha ? pic.AlphaAt(x, y + 1) : 0xFF) << 24) | colour;
        }
    }
    decoded_ = image;
    return image;
}

bool IlbmHandler::read(QImage* image) {
    const QImage decoded = Decode();
    if (decoded.isNull()) return false;
    *image = decoded;
    return true;
}

bool IlbmHandler::supportsOption(ImageOption option) const {
    return option == Size || option == ImageFormat;
}

QVariant IlbmHandler::option(ImageOption option) const {
    if (option == Size) {
        // From the BMHD alone, without decoding the picture, where the
        // picture has one at the front; else from the decoded picture.
        const QSize size = HeaderSize();
        if (size.isValid()) return size;
        const QImage decoded = Decode();
        return decoded.isNull() ? QVariant() : QVariant(decoded.size());
    }
    if (option == ImageFormat) {
        // Whether the picture has transparency shows only once it is decoded.
        const QImage decoded = Decode();
        return decoded.isNull() ? QVariant() : QVariant(int(decoded.format()));
    }
    return {};
}

QSize IlbmHandler::HeaderSize() const {
    planora::PictureContext pic;
    const std::vector<uint8_t> bytes = ToVector(Bytes());
    pic.FileCache.assign(bytes.begin(), bytes.end());
    pic.FileCache.insert(pic.FileCache.end(), {0, 0});
    try {
        if (!Bytes().startsWith("FORM") || pic.iff_check_if_File_is_iffbitmap() != 0) return {};
        pic.Iff_Read_BitMAP_header();
    } catch (const planora::RunTimeError&) {
        return {};
    }
    if (pic.IlbmInfo.Width < 1 || pic.IlbmInfo.Height < 1) return {};
    return QSize(pic.IlbmInfo.Width, pic.IlbmInfo.Height);
}

QImageIOPlugin::Capabilities IlbmPlugin::capabilities(QIODevice* device, const QByteArray& format) const {
    const QByteArray lower = format.toLower();
    if (lower == "iff" || lower == "ilbm" || lower == "lbm") return CanRead;
    if (!format.isEmpty() || !device || !device->isOpen()) return {};
    return device->isReadable() && IlbmHandler::canRead(device) ? CanRead : Capabilities();
}

QImageIOHandler* IlbmPlugin::create(QIODevice* device, const QByteArray& format) const {
    auto* handler = new IlbmHandler;
    handler->setDevice(device);
    handler->setFormat(format);
    return handler;
}
