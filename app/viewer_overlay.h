// A small label in the viewer's top-left corner that says what the viewer
// has just done (the zoom, the frame, playing or paused) and then fades, so
// that it never stays over the picture.
#pragma once

#include <QLabel>

class QGraphicsOpacityEffect;
class QPropertyAnimation;
class QTimer;

namespace planora {

class ViewerOverlay : public QLabel {
    Q_OBJECT
public:
    explicit ViewerOverlay(QWidget* parent);

    // Shows text at full strength; it starts fading after a moment.
    void Flash(const QString& text);

    static constexpr int kHoldMs = 1500;
    static constexpr int kFadeMs = 700;

private:
    QGraphicsOpacityEffect* opacity_;
    QPropertyAnimation* fade_;
    QTimer* hold_;
};

}  // namespace planora
