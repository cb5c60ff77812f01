#include "show_pic.h"

#include <QResizeEvent>
#include <QScreen>

#include "iff/run_time_error.h"
#include "picture_box.h"

namespace planora {

ShowPic::ShowPic(std::function<void(PictureBox&)> drawBitmap, QWidget* parent)
    : QWidget(parent, Qt::Window), drawBitmap_(std::move(drawBitmap)) {
    setObjectName(QStringLiteral("ShowPic"));
    setWindowTitle(QStringLiteral("Picture"));
    pic_ = new PictureBox(this);
    pic_->setObjectName(QStringLiteral("Pic"));
}

QSize ShowPic::FrameExtra() const {
    // Zero until the window system has framed the window once.
    return frameGeometry().size() - geometry().size();
}

void ShowPic::MoveWithOuterSize(int left, int top, int outerWidth, int outerHeight) {
    // A window that exists can tell its frame's width (where the window
    // system knows it before the window is first shown).
    if (!testAttribute(Qt::WA_WState_Created)) create();
    const QSize extra = FrameExtra();
    move(left, top);
    resize(qMax(1, outerWidth - extra.width()), qMax(1, outerHeight - extra.height()));
}

void ShowPic::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Sized through the box itself: a box not yet shown would otherwise get
    // its new picture size only after this drawing.
    pic_->move(0, 0);
    try {
        pic_->SetInnerSize(width(), height());
        if (drawBitmap_) drawBitmap_(*pic_);
    } catch (const RunTimeError&) {
        // A window too large to hold a picture stays blank.
    }
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->geometry();
        const QSize outer = frameGeometry().size();
        move(area.width() / 2 - outer.width() / 2, area.height() / 2 - outer.height() / 2);
    }
}

}  // namespace planora
