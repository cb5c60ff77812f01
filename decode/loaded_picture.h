// Handing a loaded picture over as a value, to be written elsewhere (another
// thread, a frame source) while the context goes on loading the next one.
#pragma once

#include "iff/picture_context.h"

namespace planora {

// The loaded picture of `from`: its file and picture arrays are moved over
// (the next load makes new ones), the rest is copied, so that `from` keeps
// the colour tables that carry over to the next load.
PictureContext TakeLoadedPicture(PictureContext& from);

}  // namespace planora
