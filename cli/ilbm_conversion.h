// --format iff: a loaded IFF picture, or a PNG, JPEG, GIF or BMP picture,
// encoded as the choices say and written as a whole ILBM file.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "cli/ilbm_options.h"
#include "input/input_picture.h"

namespace planora {
class PictureContext;
}

namespace planora::cli {

inline constexpr const char* kKeepNeedsIndicesText =
    "--mode keep needs a picture with palette indices; this one is true colour";

// The mode used: the chosen one, else keep when the picture has palette
// indices, else ham8.
encode::EncodeMode IlbmModeFor(const IlbmChoices& choices, bool hasIndices);

// Whether the picture can be written with the mode chosen (keep needs
// palette indices).
bool CanWriteIlbm(const PictureContext& pic, const IlbmChoices& choices);
bool CanWriteIlbm(const input::InputPicture& picture, const IlbmChoices& choices);

// The file's bytes. Only after CanWriteIlbm.
std::vector<uint8_t> IlbmFromPicture(const PictureContext& pic, const IlbmChoices& choices);
std::vector<uint8_t> IlbmFromPicture(const input::InputPicture& picture, const IlbmChoices& choices);

// What the encoder is asked for: the mode, and for palette the colours the
// choices give, else 256 or the picture's own number when it has fewer.
encode::EncodeOptions EncodeOptionsFor(const IlbmChoices& choices, encode::EncodeMode mode,
                                       const encode::TrueColourPicture& source);

}  // namespace planora::cli
