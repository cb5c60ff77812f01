// Draws the program's images: five 24 x 24 toolbar images on the light grey
// (192, 192, 192) that the toolbar treats as see-through, the window icon in
// 16 x 16 and 32 x 32, and the 360 x 84 splash banner in 256 colours.
//
// Usage: planora_draw_images <output folder>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>

namespace {

const QColor kMaskGrey(192, 192, 192);

QImage Canvas(int size, QColor fill) {
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QImage NewPage() {
    QImage image = Canvas(24, kMaskGrey);
    QPainter p(&image);
    QPolygon page{{5, 2}, {15, 2}, {20, 7}, {20, 22}, {5, 22}};
    p.setPen(QColor(40, 40, 40));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.setBrush(QColor(210, 210, 210));
    p.drawPolygon(QPolygon{{15, 2}, {15, 7}, {20, 7}});
    p.setPen(QColor(120, 150, 220));
    for (int y = 10; y <= 19; y += 3) p.drawLine(8, y, 17, y);
    return image;
}

QImage OpenFolder() {
    QImage image = Canvas(24, kMaskGrey);
    QPainter p(&image);
    p.setPen(QColor(110, 80, 0));
    p.setBrush(QColor(230, 180, 40));
    p.drawPolygon(QPolygon{{2, 6}, {8, 6}, {10, 8}, {19, 8}, {19, 20}, {2, 20}});
    p.setBrush(QColor(250, 215, 90));
    p.drawPolygon(QPolygon{{5, 11}, {22, 11}, {19, 20}, {2, 20}});
    // An arrow out of the folder: something comes in.
    p.setPen(QPen(QColor(20, 120, 20), 2));
    p.drawLine(16, 2, 16, 8);
    p.drawLine(13, 5, 16, 8);
    p.drawLine(19, 5, 16, 8);
    return image;
}

QImage Disk() {
    QImage image = Canvas(24, kMaskGrey);
    QPainter p(&image);
    p.setPen(QColor(10, 20, 60));
    p.setBrush(QColor(40, 70, 160));
    p.drawRect(3, 3, 18, 18);
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(7, 3, 10, 6);
    p.fillRect(13, 4, 3, 4, QColor(40, 70, 160));
    p.setBrush(Qt::white);
    p.drawRect(6, 12, 12, 9);
    p.setPen(QColor(150, 150, 150));
    p.drawLine(8, 15, 16, 15);
    p.drawLine(8, 18, 16, 18);
    return image;
}

QImage Palette() {
    QImage image = Canvas(24, kMaskGrey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(90, 60, 30));
    p.setBrush(QColor(225, 190, 140));
    p.drawEllipse(QRectF(2, 4, 20, 16));
    const QColor dabs[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    const QPointF at[] = {{7, 9}, {12, 7.5}, {17, 9}, {16, 14}};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        p.setBrush(dabs[i]);
        p.drawEllipse(at[i], 2, 2);
    }
    p.setBrush(kMaskGrey);
    p.drawEllipse(QPointF(8, 15), 2, 2);
    return image;
}

QImage Magnifier() {
    QImage image = Canvas(24, kMaskGrey);
    QPainter p(&image);
    // A small picture under the glass.
    p.fillRect(2, 2, 14, 11, QColor(90, 160, 230));
    p.fillRect(2, 9, 14, 4, QColor(60, 150, 60));
    p.setPen(QColor(40, 40, 40));
    p.setBrush(Qt::NoBrush);
    p.drawRect(2, 2, 14, 11);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 2));
    p.setBrush(QColor(235, 245, 255));
    p.drawEllipse(QPointF(13, 12), 5, 5);
    p.setPen(QPen(QColor(90, 50, 20), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17, 16), QPointF(21.5, 20.5));
    return image;
}

// A red and white chequered ball, the classic Amiga demo picture.
QImage Ball(int size, QColor background) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(background);
    const double r = size / 2.0 - 0.5;
    const double c = size / 2.0 - 0.5;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double dx = (x - c) / r;
            const double dy = (y - c) / r;
            const double d2 = dx * dx + dy * dy;
            if (d2 > 1.0) continue;
            const double dz = std::sqrt(1.0 - d2);
            const double lon = std::atan2(dx, dz) + 0.3;
            const double lat = std::asin(dy);
            const int cell = int(std::floor(lon / 0.45)) + int(std::floor(lat / 0.45));
            const double shade = 0.55 + 0.45 * (0.4 * dz - 0.5 * dx - 0.5 * dy + 0.5);
            const QColor base = (cell & 1) ? QColor(255, 255, 255) : QColor(220, 20, 20);
            image.setPixelColor(x, y, QColor(qBound(0, int(base.red() * shade), 255),
                                             qBound(0, int(base.green() * shade), 255),
                                             qBound(0, int(base.blue() * shade), 255)));
        }
    }
    return image;
}

QImage Banner() {
    QImage image(360, 84, QImage::Format_RGB32);
    QPainter p(&image);
    // Copper-bar style stripes behind the name.
    for (int y = 0; y < 84; ++y) {
        const double t = y / 83.0;
        const int band = (y / 6) % 2;
        p.setPen(QColor(int(20 + 40 * t), int(10 + 30 * band), int(80 + 120 * (1 - t))));
        p.drawLine(0, y, 359, y);
    }
    p.drawImage(14, 10, Ball(64, QColor(0, 0, 0, 0)));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0));
    p.drawText(QRect(92, 8, 260, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("PLANORA"));
    p.setPen(QColor(255, 200, 60));
    p.drawText(QRect(90, 6, 260, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("PLANORA"));
    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(13);
    p.setFont(sub);
    p.setPen(Qt::white);
    p.drawText(QRect(92, 54, 260, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Amiga IFF ILBM pictures to BMP"));
    p.end();
    // 256 colours.
    return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
}

bool Save(const QImage& image, const QString& folder, const char* name) {
    const QString path = folder + u'/' + QLatin1String(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: planora_draw_images <output folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    bool ok = Save(NewPage(), folder, "toolbar_new.png");
    ok = Save(OpenFolder(), folder, "toolbar_load.png") && ok;
    ok = Save(Disk(), folder, "toolbar_save.png") && ok;
    ok = Save(Palette(), folder, "toolbar_spare.png") && ok;
    ok = Save(Magnifier(), folder, "toolbar_view.png") && ok;
    ok = Save(Ball(16, Qt::transparent), folder, "icon16.png") && ok;
    ok = Save(Ball(32, Qt::transparent), folder, "icon32.png") && ok;
    ok = Save(Banner(), folder, "splash_banner.png") && ok;
    return ok ? 0 : 1;
}
