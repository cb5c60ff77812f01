// ViewerMotion: what moves in the viewer window. A picture with active
// colour-cycling ranges cycles, an IFF ANIM plays in a loop, and every
// picture can be zoomed by whole steps and shown at its stored aspect ratio.
//
// The viewer opens as before: the still picture at one to one, drawn from
// the program's picture context. Cycling starts with Tab (as in the paint
// program that wrote these files); an animation starts playing, and Tab or
// Space pause it, the arrow keys then stepping frames. + and - zoom by whole
// steps, up by nearest neighbour (the window grows with the picture up to
// the screen's available area, frame included) and below one to one by
// halves, thirds ... with a smoothing filter; 0 returns to one to one, A
// toggles the stored aspect ratio and F a view fitted to the screen. Escape
// closes the viewer. The same commands are on the viewer's context menu with
// their keys, and the viewer's overlay says for a moment what changed.
//
// A load while the viewer is open shows the new picture at once in the
// window as it is; after New or a failed load the commands do nothing.
//
// Frames come from a frame source that plays a copy of the picture, so the
// preview, Save and Export keep the still picture. Timing comes from a clock that tests can
// replace; each tick shows the state that is due at the clock's time, so a
// picture too large to keep up skips steps rather than falling behind.
#pragma once

#include <QObject>
#include <QSize>

#include <functional>
#include <memory>

#include "decode/frame_source.h"
#include "iff/picture_context.h"

class QAction;
class QTimer;

namespace planora {

class PictureBox;
class ShowPic;

class ViewerMotion : public QObject {
    Q_OBJECT
public:
    // pic is the program's picture context; it must outlive the viewer.
    explicit ViewerMotion(const PictureContext& pic);
    ~ViewerMotion() override;

    // Joins the viewer window: its actions, context menu and timer.
    void Attach(ShowPic* viewer);
    // For a View: takes the picture as it is now, stops what was moving and
    // sizes the window to the picture at one to one.
    void Reset();
    // After a load, New or a failed load: stops what was moving and shows
    // the picture loaded now, if any, keeping the window's size.
    void PictureChanged();
    // Draws what the viewer shows now into the box, scaled to it.
    void Draw(PictureBox& box);

    // Microseconds since some fixed moment; a steady clock unless replaced.
    void SetClock(std::function<int64_t()> clock) { clock_ = std::move(clock); }
    // Shows what is due at the clock's time and sets the timer for the next
    // change (the timer calls it; tests call it after moving their clock).
    void Tick();

    bool Playing() const { return playing_; }
    // 2 for twice the size, -2 for half, 1 for one to one.
    int Zoom() const { return zoom_; }
    bool Fitted() const { return fitted_; }
    // The picture's size as shown: zoomed or fitted, at its stored aspect
    // when asked.
    QSize ContentSize() const;
    // What the overlay says now.
    QString Status() const;
    bool CyclingPicture() const;
    bool Animation() const { return frames_ && frames_->Kind() == FrameKind::Animation; }
    // The animation frame shown, 0 for pictures that are not animations.
    size_t Frame() const;

    QAction* PlayAction() const { return play_; }
    QAction* NextFrameAction() const { return nextFrame_; }
    QAction* PreviousFrameAction() const { return previousFrame_; }
    QAction* ZoomInAction() const { return zoomIn_; }
    QAction* ZoomOutAction() const { return zoomOut_; }
    QAction* ActualSizeAction() const { return actualSize_; }
    QAction* AspectAction() const { return aspect_; }
    QAction* FitAction() const { return fit_; }
    QAction* CloseAction() const { return close_; }

private:
    void SetPlaying(bool playing);
    void Step(int frames);
    bool Loaded() const;
    // Takes the picture as it is now, stopping what was moving.
    void TakePicture();
    void StartAnimation();
    void SetZoom(int zoom);
    void SetFitted(bool fitted);
    void Resize();
    // The picture at one to one, at its stored aspect when asked.
    QSize AspectSize() const;
    QSize ZoomedSize(int zoom) const;
    bool ZoomAllowed(int zoom) const;
    // The zoom one step up (+1) or down (-1) from zoom.
    static int ZoomStep(int zoom, int direction);
    void Announce();
    void Redraw();
    void UpdateActions();
    void RenderCycling(int64_t micros);
    // Shows animation frame i.
    void ShowFrame(size_t i);

    const PictureContext& pic_;
    ShowPic* viewer_ = nullptr;
    QTimer* timer_ = nullptr;
    std::function<int64_t()> clock_;
    // The frames of cycling pictures and animations, and the one shown.
    std::unique_ptr<FrameSource> frames_;
    PictureView frame_;
    bool showingFrames_ = false;  // frame_ is what is shown
    bool playing_ = false;
    int64_t playedMicros_ = 0;  // cycling time before the current start
    int64_t startedAt_ = 0;     // clock time playing last started
    int64_t frameDueAt_ = 0;    // when the shown animation frame was due, in 1/60 us
    int64_t shownSteps_ = -1;   // sum of the ranges' steps last drawn
    int zoom_ = 1;
    bool fitted_ = false;
    bool storedAspect_ = false;

    QAction* play_ = nullptr;
    QAction* nextFrame_ = nullptr;
    QAction* previousFrame_ = nullptr;
    QAction* zoomIn_ = nullptr;
    QAction* zoomOut_ = nullptr;
    QAction* actualSize_ = nullptr;
    QAction* aspect_ = nullptr;
    QAction* fit_ = nullptr;
    QAction* close_ = nullptr;
};

}  // namespace planora
