// The BODY of FORM "PBM " (DeluxePaint's chunky relative of ILBM).
#pragma once

namespace planora {

class PictureContext;

// Reads the BODY at the context's cursor into the picture arrays, mapping
// each row as it comes when the display mode is already known.
void DecodePbmBody(PictureContext& pic);

}  // namespace planora
