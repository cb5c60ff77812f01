// ShowPic: the viewer window, caption "Picture". The picture is drawn into
// one picture box, Pic, inside a scrolling area that fills the window: the
// box is as large as the picture as shown, and at least as large as what the
// area shows, so a window larger than the picture shows the box's background
// beside it and a smaller one gets scroll bars, the mouse (drag, wheel) and
// the keys of its owner to reach the rest. Every change of the window's size
// redraws the picture and moves the window back to the centre of the screen.
//
// A file dropped on the viewer, and the mouse's back and forward buttons,
// are handed to whoever listens (the main window loads and steps).
#pragma once

#include <QWidget>

#include <functional>

#include "viewer_geometry.h"

class QScrollArea;

namespace planora {

class PictureBox;
class ViewerOverlay;

class ShowPic : public QWidget {
    Q_OBJECT
public:
    // drawBitmap draws the current picture into the given box.
    explicit ShowPic(std::function<void(PictureBox&)> drawBitmap, QWidget* parent = nullptr);

    PictureBox* Pic() const { return pic_; }
    QScrollArea* Scroller() const { return scroller_; }
    ViewerOverlay* Overlay() const { return overlay_; }
    QSize ContentSize() const { return content_; }

    // Shows a picture of `content` pixels; with sizeWindow the window is
    // first sized for it (PlaceViewer) and then centres itself by its outer
    // size. The picture is drawn either way.
    void ShowContent(QSize content, bool sizeWindow);

    // The window frame's widths: the viewer's own once the window system has
    // framed it, before that those of the window that owns it.
    QMargins FrameMargins() const;
    // The largest inner area the viewer may have on its screen.
    QSize Room() const;
    int ScrollBarExtent() const;

signals:
    void FileDropped(const QString& path);
    // +1 for the next picture, -1 for the previous one.
    void StepRequested(int direction);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Sizes the box for the content and the window, then draws.
    void LayOut();
    bool StepButton(const QMouseEvent& event);

    std::function<void(PictureBox&)> drawBitmap_;
    QScrollArea* scroller_ = nullptr;
    PictureBox* pic_ = nullptr;
    ViewerOverlay* overlay_ = nullptr;
    QSize content_{1, 1};
    QPoint dragFrom_;
    bool dragging_ = false;
};

}  // namespace planora
