// Qt 6 image-format plugin: any Qt program reads the pictures Planora reads
// through QImageReader. Thin glue over the core: the handler gives the bytes
// to a PictureContext and copies its rows into a QImage. (The desktop program
// loads through the core directly, not through this plugin.)
#pragma once

#include <QImageIOHandler>
#include <QImageIOPlugin>
#include <QSize>

#include <optional>

class IlbmHandler : public QImageIOHandler {
public:
    bool canRead() const override;
    bool read(QImage* image) override;
    bool supportsOption(ImageOption option) const override;
    QVariant option(ImageOption option) const override;

    // "FORM", a length and a form type Planora reads, looked at without
    // consuming the device.
    static bool canRead(QIODevice* device);

private:
    // The device's bytes, read once: the options before read() need them too.
    const QByteArray& Bytes() const;
    QImage Decode() const;
    QSize HeaderSize() const;  // invalid when there is no BMHD up front

    mutable std::optional<QByteArray> bytes_;
    mutable std::optional<QImage> decoded_;
};

class IlbmPlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QImageIOHandlerFactoryInterface" FILE "planora.json")

public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override;
    QImageIOHandler* create(QIODevice* device, const QByteArray& format = QByteArray()) const override;
};
