#include "picture_box.h"

#include "preview_scaling.h"

#include <QPainter>
#include <QResizeEvent>

#include "iff/run_time_error.h"

namespace planora {

PictureBox::PictureBox(QWidget* parent, int border) : QWidget(parent), border_(border) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    FitPicture(InnerSizeOfWidget(), false);
}

void PictureBox::SetInnerSize(int width, int height) {
    // The picture comes first so that a size too large to hold fails here,
    // before the widget changes; a hidden box gets no resize event at all.
    FitPicture(QSize(qMax(0, width), qMax(0, height)), true);
    resize(width + 2 * border_, height + 2 * border_);
}

void PictureBox::SetFontBold(bool bold) {
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void PictureBox::Cls() {
    if (showingPixelsInPlace_) {
        // Let go of the caller's pixels; the new picture is only reserved
        // here, and filled when it is next used.
        picture_ = QImage(picture_.size(), QImage::Format_RGB32);
        showingPixelsInPlace_ = false;
    }
    clearPending_ = true;
    pendingColour_ = backColor_;
    currentX_ = 0;
    currentY_ = 0;
    update();
}

void PictureBox::ApplyPendingClear() const {
    if (!clearPending_) return;
    clearPending_ = false;
    picture_.fill(pendingColour_);
}

void PictureBox::ClsOutside(const QRect& covered) {
    const QRect all = picture_.rect();
    const QRect keep = covered.intersected(all);
    // The covered part is drawn over, the rest filled now: an earlier clear
    // has nothing left to do.
    clearPending_ = false;
    if (keep.isEmpty()) {
        picture_.fill(backColor_);
    } else {
        QPainter painter(&picture_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        // The strips right of and below the covered rectangle.
        painter.fillRect(QRect(keep.right() + 1, 0, all.width() - keep.right() - 1, all.height()), backColor_);
        painter.fillRect(QRect(0, keep.bottom() + 1, keep.right() + 1, all.height() - keep.bottom() - 1), backColor_);
    }
    currentX_ = 0;
    currentY_ = 0;
    update();
}

void PictureBox::ShowPixelsInPlace(const QImage& pixels) {
    picture_ = pixels;
    clearPending_ = false;
    showingPixelsInPlace_ = true;
    currentX_ = 0;
    currentY_ = 0;
    update();
}

void PictureBox::SetPixel(int x, int y, QRgb colour) {
    ApplyPendingClear();
    if (picture_.valid(x, y)) {
        picture_.setPixel(x, y, colour);
        update(border_ + x, border_ + y, 1, 1);
    }
}

void PictureBox::SetPrintPosition(int x, int y) {
    currentX_ = x;
    currentY_ = y;
}

int PictureBox::TextWidth(const QString& text) const { return fontMetrics().horizontalAdvance(text); }

void PictureBox::Print(const QString& text, bool endLine) {
    const QFontMetrics metrics = fontMetrics();
    ApplyPendingClear();
    if (!picture_.isNull()) {
        QPainter painter(&picture_);
        painter.setFont(font());
        painter.setPen(foreColor_);
        painter.drawText(currentX_, currentY_ + metrics.ascent(), text);
    }
    if (endLine) {
        currentX_ = 0;
        currentY_ += metrics.height();
    } else {
        currentX_ += metrics.horizontalAdvance(text);
    }
    update();
}

void PictureBox::PaintPicture(const PictureBox& source, int x, int y, int width, int height) {
    ApplyPendingClear();
    source.ApplyPendingClear();
    if (picture_.isNull() || source.picture_.isNull() || width <= 0 || height <= 0) return;
    // A large picture is first halved down with a box filter; the smooth
    // stretch then works on a small image.
    const QImage stretched = ShrinkTowards(source.picture_, QSize(width, height))
                                 .scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&picture_);
    painter.drawImage(x, y, stretched);
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    ApplyPendingClear();
    QPainter painter(this);
    if (border_ > 0) {
        painter.fillRect(rect(), palette().color(QPalette::Dark));
    }
    painter.drawImage(border_, border_, picture_);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitPicture(InnerSizeOfWidget(), false);
}

QSize PictureBox::InnerSizeOfWidget() const {
    return QSize(qMax(0, width() - 2 * border_), qMax(0, height() - 2 * border_));
}

void PictureBox::FitPicture(QSize inner, bool throwWhenTooLarge) {
    if (picture_.size() == inner) return;
    QImage grown(inner, QImage::Format_RGB32);
    if (grown.isNull() && !inner.isEmpty()) {
        if (throwWhenTooLarge) throw RunTimeError(kOutOfMemory);
        return;
    }
    // What was drawn stays; new area shows the background colour. A clear
    // still waiting in that same colour leaves nothing to keep.
    if (clearPending_ && pendingColour_ == backColor_) {
        // Nothing to keep, and the fill can wait like the clear did: a
        // picture about to be drawn over it all never needs it.
        picture_ = grown;
        showingPixelsInPlace_ = false;
        return;
    }
    grown.fill(backColor_);
    if (!picture_.isNull()) {
        ApplyPendingClear();
        QPainter painter(&grown);
        painter.drawImage(0, 0, picture_);
    }
    picture_ = grown;
    showingPixelsInPlace_ = false;
}

}  // namespace planora
