// PictureBox: a widget that paints from a persistent picture of its own.
//
// Everything drawn into the box (cleared background, single pixels, printed
// text, stretched copies of another box) goes into that picture, so the box
// repaints itself after it has been covered. The picture always matches the
// box's inner area: the widget less its border. Coordinates are pixels of the
// inner area, (0, 0) at its top-left corner.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

namespace planora {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    // border: width in pixels of the plain frame drawn around the inner area.
    explicit PictureBox(QWidget* parent = nullptr, int border = 0);

    int Border() const { return border_; }
    int InnerWidth() const { return picture_.width(); }
    int InnerHeight() const { return picture_.height(); }
    // Sizes the widget so that its inner area is width x height. Throws
    // RunTimeError (Out of memory) when the picture cannot be allocated.
    void SetInnerSize(int width, int height);

    QColor BackColor() const { return backColor_; }
    void SetBackColor(const QColor& colour) { backColor_ = colour; }
    QColor ForeColor() const { return foreColor_; }
    void SetForeColor(const QColor& colour) { foreColor_ = colour; }
    bool FontBold() const { return font().bold(); }
    void SetFontBold(bool bold);

    // Fills the picture with the background colour; the print position goes
    // back to the top-left corner. The fill itself waits until the picture is
    // next used, so that a clear followed by a whole new picture (New, then
    // Load) does not fill a large picture only to overwrite it.
    virtual void Cls();
    // Cls for a picture about to be drawn over `covered` (at the top-left):
    // the same result, filling only what the drawing will not cover.
    void ClsOutside(const QRect& covered);

    // The persistent picture, 0xffRRGGBB pixels. Writing to it directly is
    // how whole pictures are drawn; call update() afterwards.
    const QImage& Picture() const {
        ApplyPendingClear();
        return picture_;
    }
    QImage& Picture() {
        ApplyPendingClear();
        return picture_;
    }
    void SetPixel(int x, int y, QRgb colour);

    // A box that may show a large picture straight from the caller's pixels
    // (ShowPixelsInPlace), without copying them into its own picture.
    bool ShowsPixelsInPlace() const { return pixelsInPlaceAllowed_; }
    void AllowPixelsInPlace(bool allowed) { pixelsInPlaceAllowed_ = allowed; }
    // Makes pixels, the size of the inner area, the picture. They must stay
    // valid and unchanged until the next Cls, which lets go of them; drawing
    // into the box meanwhile works on a copy of its own.
    void ShowPixelsInPlace(const QImage& pixels);

    // Text output at the print position in the foreground colour.
    int CurrentX() const { return currentX_; }
    int CurrentY() const { return currentY_; }
    void SetPrintPosition(int x, int y);
    int TextWidth(const QString& text) const;
    // Prints text; with endLine the position moves to the left edge of the
    // next line, otherwise just past the text.
    void Print(const QString& text, bool endLine = true);

    // Copies source's whole picture stretched into the rectangle of this box
    // with smooth scaling.
    void PaintPicture(const PictureBox& source, int x, int y, int width, int height);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QSize InnerSizeOfWidget() const;
    // Resizes the picture to inner, keeping what was drawn.
    void FitPicture(QSize inner, bool throwWhenTooLarge);

    void ApplyPendingClear() const;

    int border_;
    // Mutable for the deferred fill of Cls, which readers trigger too.
    mutable QImage picture_;
    mutable bool clearPending_ = false;
    QColor pendingColour_;
    bool pixelsInPlaceAllowed_ = false;
    bool showingPixelsInPlace_ = false;
    QColor backColor_ = Qt::white;
    QColor foreColor_ = Qt::black;
    int currentX_ = 0;
    int currentY_ = 0;
};

}  // namespace planora
