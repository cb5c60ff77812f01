// Where the viewer window goes and how large it is, worked out from the
// screen's available area and the window frame alone, so that it can be
// checked for any screen and frame (the headless platform has no frames).
//
// A picture that fits is shown one to one in a window sized to it; one that
// does not gets a window as large as the available area allows, frame
// included, with scroll bars for the rest.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace planora {

// The part of a scrolling area the picture is seen through, and which
// scroll bars it needs, for an area of `outer` showing `content`.
struct ScrollView {
    QSize Viewport;
    bool ScrollsX = false;
    bool ScrollsY = false;
};
ScrollView ViewThrough(QSize outer, QSize content, int scrollBarExtent);

// The largest inner area of a window with `frame` inside `available`.
QSize InnerRoom(const QRect& available, const QMargins& frame);

// Where a window of outer size `outer` goes: centred on the screen, then
// moved just far enough to lie inside the available area (panels and docks
// left out), its title bar first when it cannot lie inside whole.
QPoint CentredTopLeft(QSize outer, const QRect& screen, const QRect& available);

struct ViewerPlacement {
    QSize Inner;           // the window less its frame
    QPoint FrameTopLeft;   // where the frame's top-left corner goes
    ScrollView View;       // what the picture is seen through
};
ViewerPlacement PlaceViewer(QSize content, const QRect& screen, const QRect& available, const QMargins& frame,
                            int scrollBarExtent);

// `content` scaled down to fit in `room`, keeping its shape; never enlarged,
// never below one pixel.
QSize FittedSize(QSize content, QSize room);

}  // namespace planora
