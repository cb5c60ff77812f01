// --info for a CAT or LIST file: the details of every picture it holds.
#pragma once

#include <ostream>
#include <string>

#include "iff/picture_context.h"

namespace planora::cli {

// After the first picture of `input` was loaded into pic and its details
// printed, loads and prints the others, each block after a blank line; a
// picture that fails to load gets one line on err. Leaves PictureIndex at 0.
// Returns false when any picture failed.
bool PrintOtherPictures(PictureContext& pic, const std::string& input, std::ostream& out, std::ostream& err);

}  // namespace planora::cli
