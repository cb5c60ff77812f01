// HAM6 and HAM8 pictures: the base colours and every row's codes.
//
// Method: the base colours are chosen for the HAM error, not for plain
// quantisation. They start as a k-means palette of the picture in which each
// pixel weighs what a single modify step from its left neighbour would leave
// wrong (colours the row reaches by modify steps need no base); then rounds
// of "search every few rows, move each base to the mean of the pixels that
// took it, move unused bases to the worst-served pixels", every second one
// followed by a fresh k-means of the sampled pixels weighted by the error
// they were shown with, keep the palette of least total error. The rows are then searched (ham_search.h) on two threads
// when the picture is large. Dithering changes the colours the search aims
// for: an ordered pattern, or error diffusion that follows the rows (each
// searched row passes its error down to the next).
#pragma once

#include "encode/indexed_picture.h"

namespace planora::encode {

// options.Mode is Ham6 or Ham8.
IndexedPicture EncodeHam(const TrueColourPicture& source, const EncodeOptions& options);

}  // namespace planora::encode
