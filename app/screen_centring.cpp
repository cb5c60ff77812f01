#include "screen_centring.h"

#include "viewer_geometry.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace planora {

namespace {
class ScreenCentring : public QObject {
public:
    explicit ScreenCentring(QWidget* window) : QObject(window), window_(window) { Centre(); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::Show:
            case QEvent::Resize:
            case QEvent::Move:
            case QEvent::WindowStateChange:
                if (watched == window_ && window_->frameGeometry().size() != centredOn_) Centre();
                break;
            default: break;
        }
        return false;
    }

private:
    void Centre() {
        const QScreen* screen = window_->screen();
        if (!screen) return;
        centredOn_ = window_->frameGeometry().size();
        window_->move(CentredTopLeft(centredOn_, screen->geometry(), screen->availableGeometry()));
    }

    QWidget* window_;
    QSize centredOn_;
};
}  // namespace

void KeepCentredOnScreen(QWidget* window) { window->installEventFilter(new ScreenCentring(window)); }

}  // namespace planora
