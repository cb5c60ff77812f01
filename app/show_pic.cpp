#include "show_pic.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include "file_drop.h"
#include "iff/run_time_error.h"
#include "picture_box.h"
#include "screen_centring.h"
#include "viewer_overlay.h"

namespace planora {

ShowPic::ShowPic(std::function<void(PictureBox&)> drawBitmap, QWidget* parent)
    : QWidget(parent, Qt::Window), drawBitmap_(std::move(drawBitmap)) {
    setObjectName(QStringLiteral("ShowPic"));
    setWindowTitle(QStringLiteral("Picture"));
    scroller_ = new QScrollArea(this);
    scroller_->setObjectName(QStringLiteral("Scroller"));
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(false);
    // The keys belong to the viewer's commands, not to scrolling.
    scroller_->setFocusPolicy(Qt::NoFocus);
    pic_ = new PictureBox;
    pic_->setObjectName(QStringLiteral("Pic"));
    scroller_->setWidget(pic_);
    scroller_->viewport()->installEventFilter(this);
    overlay_ = new ViewerOverlay(this);
    setAcceptDrops(true);
    KeepCentredOnScreen(this);
}

QMargins ShowPic::FrameMargins() const {
    const QWidget* framed = this;
    if (!isVisible() || frameGeometry() == geometry()) framed = parentWidget() ? parentWidget()->window() : nullptr;
    if (!framed) return {};
    const QRect outer = framed->frameGeometry(), inner = framed->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

QSize ShowPic::Room() const {
    const QScreen* shown = screen();
    return shown ? InnerRoom(shown->availableGeometry(), FrameMargins()) : QSize(1, 1);
}

int ShowPic::ScrollBarExtent() const { return style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this); }

void ShowPic::ShowContent(QSize content, bool sizeWindow) {
    content_ = content.expandedTo(QSize(1, 1));
    if (sizeWindow && screen()) {
        const ViewerPlacement placement = PlaceViewer(content_, screen()->geometry(), screen()->availableGeometry(),
                                                      FrameMargins(), ScrollBarExtent());
        if (placement.Inner != size()) return resize(placement.Inner);  // the resize lays out and draws
    }
    LayOut();
}

void ShowPic::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void ShowPic::LayOut() {
    scroller_->setGeometry(rect());
    const ScrollView view = ViewThrough(size(), content_, ScrollBarExtent());
    scroller_->setHorizontalScrollBarPolicy(view.ScrollsX ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    scroller_->setVerticalScrollBarPolicy(view.ScrollsY ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    scroller_->viewport()->setCursor(view.ScrollsX || view.ScrollsY ? Qt::OpenHandCursor : Qt::ArrowCursor);
    const QSize box = content_.expandedTo(view.Viewport);
    try {
        // Sized through the box itself: a box not yet shown would otherwise
        // get its new picture size only after this drawing.
        pic_->SetInnerSize(box.width(), box.height());
        if (drawBitmap_) drawBitmap_(*pic_);
    } catch (const RunTimeError&) {
        // A picture too large to hold stays blank.
    }
}

bool ShowPic::StepButton(const QMouseEvent& event) {
    if (event.button() != Qt::BackButton && event.button() != Qt::ForwardButton) return false;
    emit StepRequested(event.button() == Qt::ForwardButton ? 1 : -1);
    return true;
}

void ShowPic::mousePressEvent(QMouseEvent* event) {
    if (!StepButton(*event)) QWidget::mousePressEvent(event);
}

bool ShowPic::eventFilter(QObject* watched, QEvent* event) {
    if (watched != scroller_->viewport()) return false;
    // Dragging with the left button moves the picture under the pointer.
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* press = static_cast<QMouseEvent*>(event);
            if (StepButton(*press)) return true;
            if (press->button() != Qt::LeftButton) return false;
            dragging_ = true;
            dragFrom_ = press->position().toPoint();
            scroller_->viewport()->setCursor(Qt::ClosedHandCursor);
            return true;
        }
        case QEvent::MouseMove: {
            if (!dragging_) return false;
            const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
            const QPoint moved = at - dragFrom_;
            dragFrom_ = at;
            scroller_->horizontalScrollBar()->setValue(scroller_->horizontalScrollBar()->value() - moved.x());
            scroller_->verticalScrollBar()->setValue(scroller_->verticalScrollBar()->value() - moved.y());
            return true;
        }
        case QEvent::MouseButtonRelease:
            if (!dragging_) return false;
            dragging_ = false;
            scroller_->viewport()->setCursor(Qt::OpenHandCursor);
            return true;
        default: return false;
    }
}

void ShowPic::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void ShowPic::dropEvent(QDropEvent* event) {
    const QString file = DroppedFile(event->mimeData());
    if (file.isEmpty()) return;
    event->acceptProposedAction();
    emit FileDropped(file);
}

}  // namespace planora
