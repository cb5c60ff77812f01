#include "ilbm_handler.h"

#include <QIODevice>
#include <QImage>
#include <QVariant>

#include <algorithm>
#include <new>

#include "decode/anim_player.h"
#include "decode/colour_cycling.h"
#include "iff/form_table.h"
#include "iff/picture_context.h"
#include "iff/picture_signature.h"
#include "iff/run_time_error.h"
#include "output/apng_writer.h"

// The loaded picture and how its frames are made: the still picture; the
// frames of an ANIM, played in order; or one period of colour cycling, the
// picture mapped with the palette of each moment the colours change (as the
// converter's animated PNG has them).
struct IlbmFrames {
    planora::PictureContext Pic;
    std::unique_ptr<planora::AnimPlayer> Player;
    std::vector<int64_t> Moments;  // cycling: microseconds from the start
    int64_t PeriodEnd = 0;
    std::vector<int> DelaysMs;     // one per frame
    std::vector<uint32_t> Colours; // cycling: the frame's colours, as ColourImage

    int Count() const { return int(DelaysMs.size()); }
    QImage Frame(int i);
};

namespace {
bool IsPictureForm(const QByteArray& head) {
    return planora::LooksLikePicture(reinterpret_cast<const uint8_t*>(head.constData()), size_t(head.size()));
}

std::vector<uint8_t> ToVector(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
    return std::vector<uint8_t>(data, data + bytes.size());
}

int RoundedMs(int64_t micros) { return int((micros + 500) / 1000); }
}  // namespace

QImage IlbmFrames::Frame(int i) {
    const uint32_t* colours = Pic.ColourImage.data();
    if (Player) {
        Player->Show(size_t(i));
    } else if (!Moments.empty()) {
        planora::ColourTable palette{};
        planora::CyclePalette(Pic.ColourRanges, Pic.Palette, Moments[size_t(i)], Pic.IlbmInfo.HalfBriteFlag == 1,
                              palette);
        Colours.resize(Pic.ColourImage.size());
        Pic.MapPictureWithPalette(palette, Colours.data());
        colours = Colours.data();
    }
    const int width = Pic.IlbmInfo.Width, height = Pic.IlbmInfo.Height;
    const bool alpha = Pic.HasAlpha();
    QImage image;
    // allocateImage keeps to QImageReader's allocation limit.
    if (!QImageIOHandler::allocateImage(QSize(width, height), alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32,
                                        &image))
        return {};
    // Picture rows are 1-based in the arrays, columns 0-based.
    const size_t stride = size_t(Pic.ImageStride());
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint32_t* source = colours + size_t(y + 1) * stride;
        for (int x = 0; x < width; ++x)
            row[x] = (uint32_t(alpha ? Pic.AlphaAt(x, y + 1) : 0xFF) << 24) | (source[x] & 0xFFFFFF);
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
    auto frames = std::make_unique<IlbmFrames>();
    planora::PictureContext& pic = frames->Pic;
    try {
        if (pic.Load_IFF_From_Memory("picture", ToVector(Bytes())) == 0) return nullptr;
        if (pic.IlbmInfo.Width < 1 || pic.IlbmInfo.Height < 1) return nullptr;
        if (pic.IsAnimation() && !pic.IsDeepPicture()) {
            frames->Player = std::make_unique<planora::AnimPlayer>(pic);
            for (size_t i = 0; i < frames->Player->FrameCount(); ++i)
                frames->DelaysMs.push_back(int((frames->Player->DelayTicks(i) * 1000 + 30) / 60));
        } else if (!pic.IsDeepPicture() && planora::HasActiveRanges(pic.ColourRanges)) {
            frames->Moments = planora::CyclePeriodMoments(pic.ColourRanges, planora::kMaxCyclingFrames,
                                                          frames->PeriodEnd);
            for (size_t i = 0; i < frames->Moments.size(); ++i) {
                // Delays from rounded moments, so that rounding never adds up.
                const int64_t end = i + 1 < frames->Moments.size() ? frames->Moments[i + 1] : frames->PeriodEnd;
                frames->DelaysMs.push_back(RoundedMs(end) - RoundedMs(frames->Moments[i]));
            }
        }
    } catch (const planora::RunTimeError&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (frames->DelaysMs.empty()) frames->DelaysMs.push_back(0);  // a still picture
    frames_ = std::move(frames);
    return frames_.get();
}

bool IlbmHandler::read(QImage* image) {
    IlbmFrames* frames = Frames();
    if (!frames || next_ >= frames->Count()) return false;
    const QImage frame = frames->Frame(next_);
    if (frame.isNull()) return false;
    ++next_;
    *image = frame;
    return true;
}

bool IlbmHandler::supportsOption(ImageOption option) const {
    return option == Size || option == ImageFormat || option == Animation;
}

QVariant IlbmHandler::option(ImageOption option) const {
    if (option == Size) {
        // From the BMHD alone, without decoding the picture, where the
        // picture has one at the front; else from the loaded picture.
        const QSize size = HeaderSize();
        if (size.isValid()) return size;
        const IlbmFrames* frames = Frames();
        return frames ? QVariant(QSize(frames->Pic.IlbmInfo.Width, frames->Pic.IlbmInfo.Height)) : QVariant();
    }
    if (option == ImageFormat) {
        // Whether the picture has transparency shows only once it is loaded.
        const IlbmFrames* frames = Frames();
        if (!frames) return {};
        return int(frames->Pic.HasAlpha() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
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
    // The plugin's keys (planora.json): the extensions of ILBM.
    const QByteArray lower = format.toLower();
    for (const planora::FormExtension& key : planora::FindForm(planora::ChunkId("ILBM"))->Extensions)
        if (lower == QByteArray(key.Name.data(), qsizetype(key.Name.size()))) return CanRead;
    if (!format.isEmpty() || !device || !device->isOpen()) return {};
    return device->isReadable() && IlbmHandler::canRead(device) ? CanRead : Capabilities();
}

QImageIOHandler* IlbmPlugin::create(QIODevice* device, const QByteArray& format) const {
    auto* handler = new IlbmHandler;
    handler->setDevice(device);
    handler->setFormat(format);
    return handler;
}
