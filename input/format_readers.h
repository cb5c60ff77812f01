// One reader a format, each in a file of its own over its library. Each
// checks the size against CheckInputSize before it decodes the pixels, and
// throws InputError.
#pragma once

#include "input/input_picture.h"

namespace planora::input {

InputPicture ReadPng(Bytes bytes, int64_t byteBudget);
InputPicture ReadJpeg(Bytes bytes, int64_t byteBudget);
InputPicture ReadGif(Bytes bytes, int64_t byteBudget);
InputPicture ReadBmp(Bytes bytes, int64_t byteBudget);

}  // namespace planora::input
