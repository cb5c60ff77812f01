// Fuzz target: the Qt image plugin's handler (imageformats/ilbm_handler.cpp)
// as QImageReader and QMovie drive it: the plugin's capabilities and the
// handler's canRead by content, every option before reading, every frame in
// order, then a jump to a frame the input picks (in range or not) and the
// frames from there. The input is the file.
//
// What a viewer relies on is checked too: canRead leaves the device where
// it was, the frames read are as many as imageCount says and each is as big
// as the Size option, and a jump out of range is refused.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QVariant>

#include <cstdint>
#include <cstdlib>

#include "imageformats/ilbm_handler.h"

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

// Reads frames until the handler has no more; returns how many it gave.
int ReadFrames(IlbmHandler& handler, const QSize& size) {
    int count = 0;
    QImage frame;
    while (handler.canRead() && handler.read(&frame)) {
        Check(!frame.isNull() && (!size.isValid() || frame.size() == size));
        handler.nextImageDelay();
        handler.currentImageNumber();
        if (++count > handler.imageCount()) std::abort();
    }
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
    plugin.capabilities(&device, "iff");

    IlbmHandler handler;
    handler.setDevice(&device);
    handler.setFormat("iff");
    handler.canRead();
    for (const auto option : {QImageIOHandler::Size, QImageIOHandler::ImageFormat, QImageIOHandler::Animation})
        if (handler.supportsOption(option)) handler.option(option);
    const QSize frameSize = handler.option(QImageIOHandler::Size).toSize();
    const int count = handler.imageCount();
    handler.loopCount();
    // None when a frame is over QImageReader's allocation limit.
    const int read = ReadFrames(handler, frameSize);
    Check(read == 0 || read == count);

    // A jump anywhere from one before the first frame to one past the last.
    const int target = size ? int(data[size / 2]) % (count + 2) - 1 : -1;
    Check(handler.jumpToImage(target) == (target >= 0 && target < count));
    if (read == count && target >= 0 && target < count) Check(ReadFrames(handler, frameSize) == count - target);
    handler.jumpToNextImage();
    return 0;
}
