// Pictures in the common formats, as input to the ILBM writer: PNG, JPEG,
// GIF (its first frame) and BMP, decoded by Debian's libraries (libspng,
// libjpeg-turbo, giflib and stb_image's BMP reader), never by code of our
// own. A palette PNG or GIF keeps its indices and colour map besides its
// colours.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>

#include "encode/indexed_picture.h"

namespace planora::input {

using Bytes = std::span<const uint8_t>;

enum class InputFormat { None, Png, Jpeg, Gif, Bmp };

struct InputPicture {
    encode::TrueColourPicture Colours;
    // Palette pictures of at most 256 colours: their own indices and colour
    // map (Planes and 2^Planes colours; DisplayMode 0).
    std::optional<encode::IndexedPicture> Indexed;
};

// One clear sentence on why a file could not be read.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The format the bytes begin like, from their signature; None for others.
InputFormat DetectInputFormat(Bytes bytes);
const char* InputFormatName(InputFormat format);

// Decodes a picture of a known format. byteBudget is the load budget the
// ILBM loader keeps (5 bytes an element of its (width + 1) x (height + 1)
// arrays): a picture over it, or wider or taller than 32767 pixels (the
// largest ILBM the loader takes back), or without pixels, is refused.
// Throws InputError.
InputPicture ReadInputPicture(Bytes bytes, int64_t byteBudget);

// Throws InputError when a picture of this size is refused as above.
void CheckInputSize(int64_t width, int64_t height, int64_t byteBudget);

// Fills Colours from Indexed's indices and colour map.
void ColoursFromIndices(InputPicture& picture);
// The planes for a colour map of `colours` entries (1 to 8).
int32_t PlanesForColours(size_t colours);
// Raises Planes, and the colour map with black entries, to cover every
// index: a damaged file can use indices past its colour map.
void CoverEveryIndex(encode::IndexedPicture& picture);

}  // namespace planora::input
