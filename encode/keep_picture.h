// The "keep" encoding: a loaded picture's own palette indices, colour map,
// display mode, aspect, transparent colour, colour ranges and per-line
// palettes, for a lossless rewrite. The indices and colours are those the
// load produced (a broken file comes out as the program shows it); ranges
// and per-line palette chunks are copied from the picture's FORM as they
// are, in file order, so they read back the same.
#pragma once

#include "encode/ilbm_extras.h"
#include "encode/indexed_picture.h"

namespace planora {
class PictureContext;
}

namespace planora::encode {

struct KeptPicture {
    IndexedPicture Picture;
    IlbmExtras Extras;
};

// Whether pic has palette indices of 1 to 8 planes to keep.
bool CanKeep(const PictureContext& pic);

// Throws std::invalid_argument unless CanKeep(pic).
KeptPicture KeepPicture(const PictureContext& pic);

}  // namespace planora::encode
