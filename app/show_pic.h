// ShowPic: the viewer window, the loaded picture at full size in one picture
// box that fills the window. Every change of the window's size redraws the
// picture and moves the window back to the centre of the screen.
#pragma once

#include <QWidget>

#include <functional>

namespace planora {

class PictureBox;

class ShowPic : public QWidget {
    Q_OBJECT
public:
    // drawBitmap draws the current picture into the given box.
    explicit ShowPic(std::function<void(PictureBox&)> drawBitmap, QWidget* parent = nullptr);

    PictureBox* Pic() const { return pic_; }

    // Sizes the inner area to the picture, inside the window system's frame;
    // the window then centres itself by its outer size.
    void ShowPictureSize(int width, int height);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:

    std::function<void(PictureBox&)> drawBitmap_;
    PictureBox* pic_ = nullptr;
};

}  // namespace planora
