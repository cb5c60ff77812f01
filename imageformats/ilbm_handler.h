// Qt 6 image-format plugin: any Qt program reads the pictures Planora reads
// through QImageReader, and QMovie plays IFF ANIM files and colour cycling.
// Thin glue over the core: the handler gives the bytes to a PictureContext
// and copies its rows into QImages. (The desktop program loads through the
// core directly, not through this plugin.)
#pragma once

#include <QImageIOHandler>
#include <QImageIOPlugin>
#include <QSize>

#include <memory>
#include <optional>
#include <vector>

struct IlbmFrames;

class IlbmHandler : public QImageIOHandler {
public:
    IlbmHandler();
    ~IlbmHandler() override;

    bool canRead() const override;
    // The next frame: the picture, or frame after frame of a moving one.
    bool read(QImage* image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;
    // ScaledSize: the frames come at that size, scaled from the stored
    // pixels in one step rather than from their square-pixel enlargement.
    void setOption(ImageOption option, const QVariant& value) override;

    int imageCount() const override;
    int loopCount() const override;
    int nextImageDelay() const override;
    int currentImageNumber() const override;
    bool jumpToNextImage() override;
    bool jumpToImage(int imageNumber) override;

    // "FORM", a length and a form type Planora reads (iff/picture_signature.h),
    // looked at without consuming the device.
    static bool canRead(QIODevice* device);

private:
    // The device's bytes, read once: the options before read() need them too.
    const QByteArray& Bytes() const;
    // Loads the picture once; null when it is not one, or when its header
    // shows that it would not fit the allocation limit.
    IlbmFrames* Frames() const;
    // The picture's size with its pixels made square, as its display showed
    // it, from the header alone; invalid when the file has none.
    QSize HeaderSize() const;

    mutable std::optional<QByteArray> bytes_;
    mutable std::unique_ptr<IlbmFrames> frames_;
    mutable bool loaded_ = false;
    int next_ = 0;  // the frame read() gives next
    QSize scaledSize_;  // asked for through ScaledSize; invalid: none
};

class IlbmPlugin : public QImageIOPlugin {
    Q_OBJECT
// Qt 6 drops a plugin whose keys an earlier-listed plugin all has, and lists
// a plugin folder in the file system's order: claiming "iff", the only key of
// KImageFormats' IFF plugin (Qt 6 only), would unload that plugin on some
// systems. So the Qt 6 plugin leaves "iff" to content detection.
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QImageIOHandlerFactoryInterface" FILE "planora-qt6.json")
#else
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QImageIOHandlerFactoryInterface" FILE "planora.json")
#endif

public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
    QImageIOHandler* create(QIODevice* device, const QByteArray& format = QByteArray()) const override;
};
