// The DBOD chunk of a FORM DEEP picture (its header: iff/deep_form.h).
#pragma once

namespace planora {

class PictureContext;
struct DeepHeader;

// Writes the pixels of deep.Body into the context's ColourImage as RGB24 and,
// when the elements hold alpha, AlphaImage.
void DecodeDeepFormBody(PictureContext& pic, const DeepHeader& deep);

}  // namespace planora
