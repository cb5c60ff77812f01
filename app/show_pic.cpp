#include "show_pic.h"

#include <QResizeEvent>

#include "iff/run_time_error.h"
#include "picture_box.h"
#include "screen_centring.h"

namespace planora {

ShowPic::ShowPic(std::function<void(PictureBox&)> drawBitmap, QWidget* parent)
    : QWidget(parent, Qt::Window), drawBitmap_(std::move(drawBitmap)) {
    setObjectName(QStringLiteral("ShowPic"));
    setWindowTitle(QStringLiteral("Picture"));
    pic_ = new PictureBox(this);
    pic_->setObjectName(QStringLiteral("Pic"));
    KeepCentredOnScreen(this);
}

void ShowPic::ShowPictureSize(int width, int height) { resize(qMax(1, width), qMax(1, height)); }

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
}

}  // namespace planora
