// True colour to what an ILBM body holds, by the modes an Amiga shows:
// palette (2 to 256 colours), Extra-Half-Brite, HAM6 and HAM8.
#pragma once

#include "encode/indexed_picture.h"

namespace planora::encode {

// options.Mode is never Keep: that mode rewrites the loaded indices as they are.
IndexedPicture EncodePicture(const TrueColourPicture& source, const EncodeOptions& options);

}  // namespace planora::encode
