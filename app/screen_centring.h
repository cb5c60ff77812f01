// Keeps a top-level window centred on its screen by its outer size, frame
// included. The frame's size is known only once the window system has framed
// the window, after it is first shown, so the window is centred again
// whenever its outer size changes; moving it by hand does not. A window
// that would reach past the screen's available area is moved inside it.
#pragma once

class QWidget;

namespace planora {

void KeepCentredOnScreen(QWidget* window);

}  // namespace planora
