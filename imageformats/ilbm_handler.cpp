#include "ilbm_handler.h"

#include <QIODevice>
#include <QImage>
#include <QImageReader>
#include <QVariant>

#include <algorithm>
#include <new>

#include "decode/display_shape.h"
#include "decode/frame_source.h"
#include "iff/form_table.h"
#include "iff/picture_context.h"
#include "iff/picture_header.h"
#include "iff/picture_signature.h"
#include "iff/run_time_error.h"
#include "output/thumbnail.h"

// The loaded picture and its frames (decode/frame_source.h): the still
// picture, the frames of an ANIM, or one period of colour cycling, as the
// converter's animated PNG has them.
struct IlbmFrames {
    explicit IlbmFrames(planora::PictureContext pic);
    planora::FrameSource Source;
    std::vector<int> DelaysMs;  // one per frame

    const planora::PictureContext& Pic() const { return Source.Picture(); }
    int Count() const { return int(DelaysMs.size()); }
    // The picture with its pixels made square, as its display showed it.
    QSize ShownSize() const;
    // Frame i at `size`: the stored pixels, scaled to it where it is not theirs.
    QImage Frame(int i, QSize size);
};

namespace {
bool IsPictureForm(const QByteArray& head) {
    return planora::LooksLikePicture(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size()));
}

// The plugin's keys (planora.json): every extension of the table of forms a
// MIME package may claim.
bool IsPluginKey(const QByteArray& format) {
    for (const planora::FormRow& form : planora::Forms())
        for (const planora::FormExtension& key : form.Extensions)
            if (key.Claimable && format == QByteArray(key.Name.data(), int(key.Name.size()))) return true;
    return false;
}

std::vector<uint8_t> ToVector(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    return std::vector<uint8_t>(data, data + bytes.size());
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
// QImageReader's allocation limit (0: none).
int64_t AllocationLimitBytes() { return int64_t{QImageReader::allocationLimit()} << 20; }
// The decoder's arrays take up to 6 bytes a pixel for the image's 4: a
// picture whose image fits the limit has arrays that fit this.
int64_t ArrayBudget() {
    const int64_t limit = AllocationLimitBytes();
    return limit == 0 ? planora::kDefaultImageByteBudget : limit / 2 * 3;
}
#else
// Qt 5 has no limit of its own: the thumbnailer's cap, for the image and
// the decoder's arrays each.
constexpr int64_t kThumbnailerCap = int64_t{256} << 20;
int64_t AllocationLimitBytes() { return kThumbnailerCap; }
int64_t ArrayBudget() { return kThumbnailerCap; }
#endif

// Whether a 32-bit image of `size` fits the limit, in whole MiB as
// QImageIOHandler::allocateImage works it out.
bool FitsAllocationLimit(QSize size) {
    const int64_t limit = AllocationLimitBytes();
    return limit == 0 || ((int64_t{size.width()} * 4 * size.height()) >> 20) <= (limit >> 20);
}

QSize QSizeOf(planora::DisplaySize size) { return QSize(size.Width, size.Height); }

// QMovie's delays in milliseconds: cycling delays are milliseconds already;
// an animation's sixtieths are rounded to the nearest, in 32-bit unsigned
// arithmetic as the plugin has always worked them out.
int Milliseconds(planora::FrameDelay delay) {
    if (delay.Denominator == 1000) return int(delay.Numerator);
    const auto denominator = uint32_t(delay.Denominator);
    return int((uint32_t(delay.Numerator) * 1000u + denominator / 2) / denominator);
}
}  // namespace

IlbmFrames::IlbmFrames(planora::PictureContext pic) : Source(std::move(pic)) {
    for (size_t i = 0; i < Source.Count(); ++i) DelaysMs.push_back(Milliseconds(Source.Delay(i)));
}

QSize IlbmFrames::ShownSize() const {
    const planora::IlbmInfoRecord& info = Pic().IlbmInfo;
    return QSizeOf(planora::DisplaySizeOf(info.Width, info.Height, planora::PixelAspectOf(info)));
}

QImage IlbmFrames::Frame(int i, QSize size) {
    if (size.isEmpty() || !FitsAllocationLimit(size)) return {};
    const planora::PictureView stored = Source.Frame(size_t(i));
    planora::ScaledPicture scaled;
    if (size != QSize(stored.Width, stored.Height)) scaled = planora::ScalePicture(stored, size.width(), size.height());
    const planora::PictureView frame = scaled.Width > 0 ? scaled.View() : stored;
    const bool alpha = frame.HasAlpha();
    const QSize shown(frame.Width, frame.Height);
    const QImage::Format format = alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QImage image;
    // allocateImage keeps to QImageReader's allocation limit.
    if (!QImageIOHandler::allocateImage(shown, format, &image)) return {};
#else
    QImage image(shown, format);  // null when the memory is not there
    if (image.isNull()) return {};
#endif
    for (int y = 0; y < frame.Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint32_t* colours = frame.Row(y);
        if (alpha)
            for (int x = 0; x < frame.Width; ++x) row[x] = (uint32_t(frame.AlphaAt(x, y)) << 24) | (colours[x] & 0xFFFFFF);
        else
            for (int x = 0; x < frame.Width; ++x) row[x] = 0xFF000000u | (colours[x] & 0xFFFFFF);
    }
    return image;
}

IlbmHandler::IlbmHandler() = default;
IlbmHandler::~IlbmHandler() = default;

bool IlbmHandler::canRead(QIODevice* device) {
    return device && IsPictureForm(device->peek(planora::kSignatureBytes));
}

bool IlbmHandler::canRead() const {
    if (loaded_) return frames_ && next_ < frames_->Count();
    if (bytes_ ? !IsPictureForm(bytes_->left(planora::kSignatureBytes)) : !canRead(device())) return false;
    setFormat("iff");
    return true;
}

const QByteArray& IlbmHandler::Bytes() const {
    if (!bytes_) bytes_ = device() ? device()->readAll() : QByteArray();
    return *bytes_;
}

IlbmFrames* IlbmHandler::Frames() const {
    if (loaded_) return frames_.get();
    loaded_ = true;
    // Decided from the header before anything is decoded: a file of a few
    // bytes may claim a picture of hundreds of megabytes.
    const QSize size = scaledSize_.isValid() ? scaledSize_ : HeaderSize();
    if (size.isValid() && !FitsAllocationLimit(size)) {
        qWarning("IlbmHandler: the picture's %d x %d pixels exceed the allocation limit", size.width(), size.height());
        return nullptr;
    }
    std::unique_ptr<IlbmFrames> frames;
    try {
        planora::PictureContext pic;
        pic.ImageByteBudget = ArrayBudget();
        if (pic.Load_IFF_From_Memory("picture", ToVector(Bytes())) == 0) return nullptr;
        if (pic.IlbmInfo.Width < 1 || pic.IlbmInfo.Height < 1) return nullptr;
        frames = std::make_unique<IlbmFrames>(std::move(pic));
    } catch (const planora::RunTimeError&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    frames_ = std::move(frames);
    return frames_.get();
}

bool IlbmHandler::read(QImage* image) {
    IlbmFrames* frames = Frames();
    if (!frames || next_ >= frames->Count()) return false;
    const QImage frame = frames->Frame(next_, scaledSize_.isValid() ? scaledSize_ : frames->ShownSize());
    if (frame.isNull()) return false;
    ++next_;
    *image = frame;
    return true;
}

bool IlbmHandler::supportsOption(ImageOption option) const {
    return option == Size || option == ScaledSize || option == ImageFormat || option == Animation;
}

void IlbmHandler::setOption(ImageOption option, const QVariant& value) {
    if (option == ScaledSize) scaledSize_ = value.toSize();
}

QVariant IlbmHandler::option(ImageOption option) const {
    if (option == Size) {
        // From the header alone, without decoding the picture, where it
        // has one; else from the loaded picture.
        const QSize size = HeaderSize();
        if (size.isValid()) return size;
        const IlbmFrames* frames = Frames();
        return frames ? QVariant(frames->ShownSize()) : QVariant();
    }
    if (option == ScaledSize) return scaledSize_;
    if (option == ImageFormat) {
        // Whether the picture has transparency shows only once it is loaded.
        const IlbmFrames* frames = Frames();
        if (!frames) return {};
        return int(planora::ViewOf(frames->Pic()).HasAlpha() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
    if (option == Animation) return imageCount() > 1;
    return {};
}

int IlbmHandler::imageCount() const {
    const IlbmFrames* frames = Frames();
    return frames ? frames->Count() : 0;
}

// Moving pictures play for ever, as on the Amiga.
int IlbmHandler::loopCount() const { return imageCount() > 1 ? -1 : 0; }

int IlbmHandler::nextImageDelay() const {
    const IlbmFrames* frames = Frames();
    if (!frames || frames->Count() < 2) return 0;
    return frames->DelaysMs[size_t(std::max(0, next_ - 1))];
}

int IlbmHandler::currentImageNumber() const { return std::max(0, next_ - 1); }

bool IlbmHandler::jumpToNextImage() { return jumpToImage(next_); }

bool IlbmHandler::jumpToImage(int imageNumber) {
    if (imageNumber < 0 || imageNumber >= imageCount()) return false;
    next_ = imageNumber;
    return true;
}

QSize IlbmHandler::HeaderSize() const {
    const QByteArray& bytes = Bytes();
    std::optional<planora::PictureHeader> header;
    try {
        header = planora::ReadPictureHeader({reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())});
    } catch (const planora::RunTimeError&) {
        return {};
    }
    if (!header || header->Width < 1 || header->Height < 1) return {};
    return QSizeOf(planora::DisplaySizeOf(*header));
}

QImageIOPlugin::Capabilities IlbmPlugin::capabilities(QIODevice* device, const QByteArray& format) const {
    // Another plugin may claim one of the keys too (KImageFormats claims
    // "iff"): given a device, only the pictures Planora reads are claimed,
    // so that Qt asks the next plugin for the others.
    const bool readable = device && device->isOpen() && device->isReadable();
    if (!format.isEmpty() && !IsPluginKey(format.toLower())) return {};
    if (!format.isEmpty() && !readable) return CanRead;
    return readable && IlbmHandler::canRead(device) ? CanRead : Capabilities();
}

QImageIOHandler* IlbmPlugin::create(QIODevice* device, const QByteArray& format) const {
    auto* handler = new IlbmHandler;
    handler->setDevice(device);
    handler->setFormat(format);
    return handler;
}
