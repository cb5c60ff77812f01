#include "viewer_geometry.h"

#include <algorithm>
#include <cmath>

namespace planora {

ScrollView ViewThrough(QSize outer, QSize content, int scrollBarExtent) {
    ScrollView view{outer};
    // A scroll bar along one edge takes room from the other direction, which
    // may then need its own bar too.
    for (int pass = 0; pass < 2; ++pass) {
        if (!view.ScrollsX && content.width() > view.Viewport.width()) {
            view.ScrollsX = true;
            view.Viewport.rheight() -= scrollBarExtent;
        }
        if (!view.ScrollsY && content.height() > view.Viewport.height()) {
            view.ScrollsY = true;
            view.Viewport.rwidth() -= scrollBarExtent;
        }
    }
    view.Viewport = view.Viewport.expandedTo(QSize(0, 0));
    return view;
}

QSize InnerRoom(const QRect& available, const QMargins& frame) {
    return QSize(std::max(1, available.width() - frame.left() - frame.right()),
                 std::max(1, available.height() - frame.top() - frame.bottom()));
}

QPoint CentredTopLeft(QSize outer, const QRect& screen, const QRect& available) {
    const int x = screen.x() + screen.width() / 2 - outer.width() / 2;
    const int y = screen.y() + screen.height() / 2 - outer.height() / 2;
    // Right and bottom first, so that the left and top edges win.
    const auto into = [](int at, int size, int start, int length) {
        return std::max(std::min(at, start + length - size), start);
    };
    return QPoint(into(x, outer.width(), available.x(), available.width()),
                  into(y, outer.height(), available.y(), available.height()));
}

ViewerPlacement PlaceViewer(QSize content, const QRect& screen, const QRect& available, const QMargins& frame,
                            int scrollBarExtent) {
    const QSize room = InnerRoom(available, frame);
    const QSize one(std::max(1, content.width()), std::max(1, content.height()));
    // The bars a window of the room's size would need, added to the picture.
    const ScrollView inRoom = ViewThrough(room, one, scrollBarExtent);
    const QSize wanted = one + QSize(inRoom.ScrollsY ? scrollBarExtent : 0, inRoom.ScrollsX ? scrollBarExtent : 0);
    ViewerPlacement placement;
    placement.Inner = wanted.boundedTo(room);
    placement.View = ViewThrough(placement.Inner, one, scrollBarExtent);
    const QSize outer = placement.Inner.grownBy(frame);
    placement.FrameTopLeft = CentredTopLeft(outer, screen, available);
    return placement;
}

QSize FittedSize(QSize content, QSize room) {
    if (content.isEmpty() || (content.width() <= room.width() && content.height() <= room.height())) return content;
    const double scale =
        std::min(double(room.width()) / content.width(), double(room.height()) / content.height());
    return QSize(std::max(1, int(std::lround(content.width() * scale))),
                 std::max(1, int(std::lround(content.height() * scale))));
}

}  // namespace planora
