#include "viewer_overlay.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QTimer>

namespace planora {

namespace {
constexpr int kMargin = 8;
}  // namespace

ViewerOverlay::ViewerOverlay(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("ViewerOverlay"));
    // Light text on a dark translucent plate reads over any picture.
    setStyleSheet(QStringLiteral("QLabel { color: white; background: rgba(0, 0, 0, 160); border-radius: 4px;"
                                 " padding: 3px 6px; }"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    opacity_ = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(opacity_);
    fade_ = new QPropertyAnimation(opacity_, "opacity", this);
    fade_->setDuration(kFadeMs);
    fade_->setStartValue(1.0);
    fade_->setEndValue(0.0);
    connect(fade_, &QPropertyAnimation::finished, this, &QWidget::hide);
    hold_ = new QTimer(this);
    hold_->setSingleShot(true);
    hold_->setInterval(kHoldMs);
    connect(hold_, &QTimer::timeout, fade_, [this] { fade_->start(); });
    hide();
}

void ViewerOverlay::Flash(const QString& text) {
    fade_->stop();
    opacity_->setOpacity(1.0);
    setText(text);
    adjustSize();
    move(kMargin, kMargin);
    show();
    raise();
    hold_->start();
}

}  // namespace planora
