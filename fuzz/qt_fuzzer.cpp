// Fuzz target: the Qt image plugin's handler (imageformats/ilbm_handler.cpp)
// as QImageReader and QMovie drive it: the plugin's capabilities and the
// handler's canRead by content, every option before reading, every frame in
// order, then a jump to a frame the input picks (in range or not) and the
// frames from there. The input is the file.
//
// What a viewer relies on is checked too: canRead leaves the device where
// it was, the frames read are as many as imageCount says (or none, when a
// frame is over QImageReader's allocation limit) and each is as big as the
// Size option, and a jump out of range is refused.
#include <QBuffer>
#include <QImage>

#include <cstdint>
#include <cstdlib>

#include "imageformats/ilbm_handler.h"

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

int ReadFrames(IlbmHandler& handler, const QSize& size) {
    int count = 0;
    for (QImage frame; handler.canRead() && handler.read(&frame) && handler.nextImageDelay() >= 0;)
        Check((!size.isValid() || frame.size() == size) && ++count <= handler.imageCount());
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QBuffer device;
    device.setData(reinterpret_cast<const char*>(data), qsizetype(size));
    device.open(QIODevice::ReadOnly);
    IlbmPlugin plugin;
    const bool byContent = plugin.capabilities(&device, QByteArray()) & QImageIOPlugin::CanRead;
    Check(device.pos() == 0 && byContent == IlbmHandler::canRead(&device) && device.pos() == 0);

    IlbmHandler handler;
    handler.setDevice(&device);
    handler.canRead();
    for (const auto option : {QImageIOHandler::Size, QImageIOHandler::ImageFormat, QImageIOHandler::Animation}) {
        const QVariant value = handler.option(option);
        Check(handler.supportsOption(option) || value.isNull());
    }
    const QSize frameSize = handler.option(QImageIOHandler::Size).toSize();
    const int count = handler.imageCount(), read = ReadFrames(handler, frameSize);
    Check(read == 0 || read == count);
    handler.loopCount();

    // A jump anywhere from one before the first frame to one past the last.
    const int target = size ? int(data[size / 2]) % (count + 2) - 1 : -1;
    Check(handler.jumpToImage(target) == (target >= 0 && target < count));
    if (read == count && target >= 0) Check(ReadFrames(handler, frameSize) == count - target);
    handler.jumpToNextImage();
    return 0;
}
