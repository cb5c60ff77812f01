// The BODY of FORM RGB8 and RGBN (Impulse's true-colour pictures).
#pragma once

#include "iff/byte_reader.h"

namespace planora {

class PictureContext;

// Writes the runs of `body` into the context's ColourImage as RGB24 (and
// AlphaImage, once a run is genlocked); rgb8 picks the 4-byte records of RGB8
// over the words of RGBN.
void DecodeRgbnBody(PictureContext& pic, ByteSpan body, bool rgb8);

}  // namespace planora
