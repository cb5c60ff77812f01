#include "viewer_motion.h"

#include <QAction>
#include <QElapsedTimer>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cmath>

#include "decode/colour_cycling.h"
#include "decode/display_shape.h"
#include "draw_bitmap.h"
#include "picture_box.h"
#include "preview_scaling.h"
#include "show_pic.h"
#include "viewer_overlay.h"

namespace planora {

namespace {
// An animation's time unit is 1/60 s; its clock counts in 1/60 us, so that
// tick times are exact.
constexpr int64_t kTicksPerSecond = 60;
constexpr int64_t kUnitsPerTick = 1000000;
constexpr int64_t kMicrosPerMilli = 1000;
// An animation more than this far behind its clock starts counting again
// from now instead of racing through the frames it missed.
constexpr int64_t kMostBehind = 1000000;
// Zooming out stops at an eighth, or where the picture would be less than a
// pixel across.
constexpr int kMostDivided = 8;

int64_t SteadyMicros() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.nsecsElapsed() / 1000;
}

QAction* MakeAction(QObject* parent, const QString& text, const QList<QKeySequence>& keys, bool checkable = false) {
    auto* action = new QAction(text, parent);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setCheckable(checkable);
    return action;
}
}  // namespace

ViewerMotion::ViewerMotion(const PictureContext& pic) : pic_(pic), clock_(SteadyMicros) {
    play_ = MakeAction(this, QStringLiteral("Play"), {QKeySequence(Qt::Key_Tab), QKeySequence(Qt::Key_Space)}, true);
    nextFrame_ = MakeAction(this, QStringLiteral("Next Frame"), {QKeySequence(Qt::Key_Right)});
    previousFrame_ = MakeAction(this, QStringLiteral("Previous Frame"), {QKeySequence(Qt::Key_Left)});
    zoomIn_ = MakeAction(this, QStringLiteral("Zoom In"), {QKeySequence(Qt::Key_Plus), QKeySequence(Qt::Key_Equal)});
    zoomOut_ = MakeAction(this, QStringLiteral("Zoom Out"), {QKeySequence(Qt::Key_Minus)});
    actualSize_ = MakeAction(this, QStringLiteral("Actual Size"), {QKeySequence(Qt::Key_0)});
    aspect_ = MakeAction(this, QStringLiteral("Stored Aspect Ratio"), {QKeySequence(Qt::Key_A)}, true);
    fit_ = MakeAction(this, QStringLiteral("Fit to Screen"), {QKeySequence(Qt::Key_F)}, true);
    close_ = MakeAction(this, QStringLiteral("Close"), {QKeySequence(Qt::Key_Escape)});
    connect(play_, &QAction::triggered, this, [this] { SetPlaying(!playing_); });
    connect(nextFrame_, &QAction::triggered, this, [this] { Step(1); });
    connect(previousFrame_, &QAction::triggered, this, [this] { Step(-1); });
    connect(zoomIn_, &QAction::triggered, this, [this] { SetZoom(ZoomStep(zoom_, 1)); });
    connect(zoomOut_, &QAction::triggered, this, [this] { SetZoom(ZoomStep(zoom_, -1)); });
    connect(actualSize_, &QAction::triggered, this, [this] { SetZoom(1); });
    connect(aspect_, &QAction::triggered, this, [this](bool on) {
        storedAspect_ = on;
        if (!ZoomAllowed(zoom_)) zoom_ = 1;
        Resize();
    });
    connect(fit_, &QAction::triggered, this, [this](bool on) { SetFitted(on); });
    connect(close_, &QAction::triggered, this, [this] {
        if (viewer_) viewer_->close();
    });
}

ViewerMotion::~ViewerMotion() = default;

void ViewerMotion::Attach(ShowPic* viewer) {
    viewer_ = viewer;
    setParent(viewer);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &ViewerMotion::Tick);
    viewer->addActions({play_, nextFrame_, previousFrame_, zoomIn_, zoomOut_, actualSize_, aspect_, fit_, close_});
    viewer->setContextMenuPolicy(Qt::ActionsContextMenu);
}

bool ViewerMotion::CyclingPicture() const { return frames_ && frames_->Kind() == FrameKind::Cycling; }

size_t ViewerMotion::Frame() const { return Animation() ? frames_->Current() : 0; }

bool ViewerMotion::Loaded() const {
    return pic_.PictureLoaded != 0 && pic_.IlbmInfo.Width > 0 && pic_.IlbmInfo.Height > 0;
}

void ViewerMotion::TakePicture() {
    if (timer_) timer_->stop();
    playing_ = showingFrames_ = false;
    playedMicros_ = 0;
    shownSteps_ = -1;
    frames_.reset();
    frame_ = {};
    if (Loaded() && !pic_.IsDeepPicture() && (pic_.IsAnimation() || HasActiveRanges(pic_.ColourRanges))) {
        PictureContext copy(pic_);
        copy.SetObserver(nullptr);
        frames_ = std::make_unique<FrameSource>(std::move(copy));
        frame_ = ViewOf(frames_->Picture());
    }
}

void ViewerMotion::StartAnimation() {
    // An animation plays as soon as it is shown.
    if (Animation() && frames_->Count() > 1) SetPlaying(true);
    UpdateActions();
    Announce();
}

void ViewerMotion::Reset() {
    TakePicture();
    zoom_ = 1;
    fitted_ = storedAspect_ = false;
    Resize();
    StartAnimation();
}

void ViewerMotion::PictureChanged() {
    TakePicture();
    if (!viewer_ || !Loaded()) return UpdateActions();
    if (!ZoomAllowed(zoom_)) zoom_ = 1;
    viewer_->ShowContent(ContentSize(), false);
    StartAnimation();
}

QString ViewerMotion::Status() const {
    if (!Loaded()) return {};
    QStringList lines;
    const QSize base = AspectSize(), shown = ContentSize();
    if (fitted_)
        lines << QStringLiteral("Fitted %1%").arg(int(std::lround(100.0 * shown.width() / base.width())));
    else
        lines << QStringLiteral("Zoom %1%").arg(zoom_ >= 1 ? 100 * zoom_ : int(std::lround(100.0 / -zoom_)));
    if (Animation())
        lines << QStringLiteral("Frame %1 of %2, %3")
                     .arg(Frame() + 1)
                     .arg(frames_->Count())
                     .arg(playing_ ? QStringLiteral("playing") : QStringLiteral("paused"));
    else if (CyclingPicture())
        lines << (playing_ ? QStringLiteral("Cycling colours") : QStringLiteral("Tab: cycle colours"));
    return lines.join(u'\n');
}

void ViewerMotion::Announce() {
    if (viewer_ && Loaded()) viewer_->Overlay()->Flash(Status());
}

void ViewerMotion::UpdateActions() {
    const bool animation = Animation() && frames_->Count() > 1;
    const bool loaded = Loaded();
    play_->setEnabled(CyclingPicture() || animation);
    play_->setChecked(playing_);
    play_->setText(Animation() ? QStringLiteral("Play Animation") : QStringLiteral("Cycle Colours"));
    nextFrame_->setEnabled(animation && !playing_);
    previousFrame_->setEnabled(nextFrame_->isEnabled());
    zoomIn_->setEnabled(loaded && (fitted_ || ZoomAllowed(ZoomStep(zoom_, 1))));
    zoomOut_->setEnabled(loaded && (fitted_ || ZoomAllowed(ZoomStep(zoom_, -1))));
    actualSize_->setEnabled(loaded);
    aspect_->setEnabled(loaded);
    aspect_->setChecked(storedAspect_);
    fit_->setEnabled(loaded);
    fit_->setChecked(fitted_);
}

void ViewerMotion::SetPlaying(bool playing) {
    if (!frames_ || playing == playing_) return UpdateActions();
    playing_ = playing;
    const int64_t now = clock_();
    if (playing) {
        startedAt_ = now;
        frameDueAt_ = now * kTicksPerSecond;
        showingFrames_ = true;
        Tick();
    } else {
        if (timer_) timer_->stop();
        playedMicros_ += now - startedAt_;
    }
    UpdateActions();
    Announce();
}

void ViewerMotion::RenderCycling(int64_t micros) {
    int64_t steps = 0;
    for (const ColourRange& range : frames_->Picture().ColourRanges) steps += CycleSteps(range, micros);
    if (steps == shownSteps_) return;
    shownSteps_ = steps;
    // The ranges move the program's palette as it is now.
    frame_ = frames_->CycledAt(micros, &pic_.Palette);
    Redraw();
}

void ViewerMotion::ShowFrame(size_t i) { frame_ = frames_->Frame(i); }

void ViewerMotion::Tick() {
    if (!playing_ || !frames_) return;
    const int64_t now = clock_();
    int64_t wait = 0;
    if (Animation()) {
        // The frame's delay in 1/60 us.
        auto delay = [&] {
            const FrameDelay shown = frames_->Delay(frames_->Current());
            return shown.Numerator * kTicksPerSecond * kUnitsPerTick / shown.Denominator;
        };
        const int64_t units = now * kTicksPerSecond;
        if (units - frameDueAt_ > kMostBehind * kTicksPerSecond) frameDueAt_ = units - delay();
        bool moved = false;
        while (units >= frameDueAt_ + delay()) {
            frameDueAt_ += delay();
            ShowFrame((frames_->Current() + 1) % frames_->Count());
            moved = true;
        }
        if (moved) Redraw();
        wait = (frameDueAt_ + delay() - units + kTicksPerSecond - 1) / kTicksPerSecond;
    } else {
        const int64_t micros = playedMicros_ + now - startedAt_;
        RenderCycling(micros);
        const int64_t next = NextCycleChange(frames_->Picture().ColourRanges, micros);
        if (next < 0) return;
        wait = next - micros;
    }
    if (timer_) timer_->start(int(std::clamp<int64_t>((wait + kMicrosPerMilli - 1) / kMicrosPerMilli, 1, 1 << 30)));
}

void ViewerMotion::Step(int frames) {
    if (!Animation() || playing_ || frames_->Count() < 2) return;
    const size_t count = frames_->Count();
    ShowFrame((frames_->Current() + (frames > 0 ? 1 : count - 1)) % count);
    showingFrames_ = true;
    Redraw();
    Announce();
}

// The one place that knows the stored aspect: at the display's shape, the
// pixels made square as the converter makes them.
QSize ViewerMotion::AspectSize() const {
    const IlbmInfoRecord& info = pic_.IlbmInfo;
    const DisplaySize shown = DisplaySizeOf(info.Width, info.Height, storedAspect_ ? PixelAspectOf(info) : PixelAspect{});
    return QSize(std::max(1, shown.Width), std::max(1, shown.Height));
}

QSize ViewerMotion::ZoomedSize(int zoom) const {
    const QSize base = AspectSize();
    if (zoom >= 1) return base * zoom;
    return QSize(int(std::lround(double(base.width()) / -zoom)), int(std::lround(double(base.height()) / -zoom)));
}

QSize ViewerMotion::ContentSize() const {
    if (fitted_ && viewer_) return FittedSize(AspectSize(), viewer_->Room());
    return ZoomedSize(zoom_).expandedTo(QSize(1, 1));
}

int ViewerMotion::ZoomStep(int zoom, int direction) {
    if (direction > 0) return zoom == -2 ? 1 : zoom + 1;
    return zoom == 1 ? -2 : zoom - 1;
}

bool ViewerMotion::ZoomAllowed(int zoom) const {
    if (zoom == 1) return true;
    if (zoom < 1) {
        const QSize shown = ZoomedSize(zoom);
        return -zoom <= kMostDivided && shown.width() >= 1 && shown.height() >= 1;
    }
    // Zooming in stops where the window, frame included, would no longer fit.
    const QSize room = viewer_ ? viewer_->Room() : QSize();
    const QSize shown = ZoomedSize(zoom);
    return shown.width() <= room.width() && shown.height() <= room.height();
}

// The zoom, aspect and fit actions are disabled while no picture is loaded.
void ViewerMotion::SetZoom(int zoom) {
    if (ZoomAllowed(zoom)) zoom_ = zoom;
    fitted_ = false;
    Resize();
}

void ViewerMotion::SetFitted(bool fitted) {
    fitted_ = fitted;
    Resize();
}

void ViewerMotion::Resize() {
    if (!viewer_) return;
    viewer_->ShowContent(ContentSize(), true);
    UpdateActions();
    Announce();
}

void ViewerMotion::Redraw() {
    if (viewer_ && viewer_->Pic()) Draw(*viewer_->Pic());
}

void ViewerMotion::Draw(PictureBox& box) {
    const PictureView source = showingFrames_ && frames_ ? frame_ : ViewOf(pic_);
    const int width = source.Width, height = source.Height;
    const QSize shown = viewer_ ? viewer_->ContentSize() : QSize(width, height);
    if (shown == QSize(width, height) || width < 1 || height < 1) {
        DrawBitmap(source, box);
        return;
    }
    QImage frame(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(frame.scanLine(y));
        const uint32_t* colours = source.Row(y);
        for (int x = 0; x < width; ++x) line[x] = 0xFF000000u | (colours[x] & 0xFFFFFFu);
    }
    // Larger by whole steps of nearest neighbour, every picture pixel a
    // block; smaller through halving box filters and a smooth last step.
    const bool smaller = shown.width() < width || shown.height() < height;
    const QImage scaled =
        smaller ? ShrinkTowards(frame, shown).scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                : frame.scaled(shown, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    box.ClsOutside(QRect(QPoint(0, 0), scaled.size()));
    {
        QPainter painter(&box.Picture());
        painter.drawImage(0, 0, scaled);
    }
    box.update();
}

}  // namespace planora
