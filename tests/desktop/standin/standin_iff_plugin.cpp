// A stand-in for KImageFormats' "iff" plugin, as it claims files: the key
// "iff" whatever the bytes, and by content every FORM or FOR4 file. It reads
// stills only: a blank 7 x 3 picture, so that a test sees which plugin read
// a file.
#include <QIODevice>
#include <QImage>
#include <QImageIOHandler>
#include <QImageIOPlugin>

namespace {
bool IsIff(QIODevice* device) {
    const QByteArray head = device->peek(4);
    return head == "FORM" || head == "FOR4";
}
}  // namespace

class StandInHandler : public QImageIOHandler {
public:
    bool canRead() const override { return IsIff(device()); }
    bool read(QImage* image) override {
        if (!IsIff(device())) return false;
        device()->readAll();
        *image = QImage(7, 3, QImage::Format_RGB32);
        return true;
    }
};

class StandInPlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QImageIOHandlerFactoryInterface" FILE "standin_iff.json")

public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override {
        if (format == "iff") return CanRead;
        if (!format.isEmpty() || !device || !device->isOpen()) return {};
        return IsIff(device) ? CanRead : Capabilities();
    }
    QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override {
        auto* handler = new StandInHandler;
        handler->setDevice(device);
        handler->setFormat(format);
        return handler;
    }
};

#include "standin_iff_plugin.moc"
