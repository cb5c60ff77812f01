#include "cli/ilbm_conversion.h"

#include <algorithm>
#include <unordered_set>

#include "decode/picture_view.h"
#include "encode/encode_picture.h"
#include "encode/keep_picture.h"
#include "iff/picture_context.h"

namespace planora::cli {

namespace {
constexpr size_t kMaxPaletteColours = 256;

// Distinct colours of the picture, counted up to one more than a palette holds.
size_t DistinctColours(const encode::TrueColourPicture& picture) {
    std::unordered_set<uint32_t> seen;
    for (size_t i = 0; i + 2 < picture.Rgb.size() && seen.size() <= kMaxPaletteColours; i += 3)
        seen.insert(uint32_t(picture.Rgb[i]) << 16 | uint32_t(picture.Rgb[i + 1]) << 8 | picture.Rgb[i + 2]);
    return seen.size();
}

encode::TrueColourPicture ColoursOf(const PictureContext& pic) {
    const PictureView view = ViewOf(pic);
    encode::TrueColourPicture picture{view.Width, view.Height, {}};
    picture.Rgb.resize(size_t(view.Width) * size_t(view.Height) * 3);
    for (int32_t y = 0; y < view.Height; ++y)
        WriteRgbRow(view, y, false, picture.Rgb.data() + size_t(y) * size_t(view.Width) * 3);
    return picture;
}

std::vector<uint8_t> Encode(const encode::TrueColourPicture& source, const IlbmChoices& choices,
                            encode::EncodeMode mode, const encode::IlbmExtras& extras) {
    const encode::IndexedPicture picture = encode::EncodePicture(source, EncodeOptionsFor(choices, mode, source));
    return BuildIlbmFile(picture, extras, choices.compression);
}
}  // namespace

encode::EncodeMode IlbmModeFor(const IlbmChoices& choices, bool hasIndices) {
    if (choices.mode) return *choices.mode;
    return hasIndices ? encode::EncodeMode::Keep : encode::EncodeMode::Ham8;
}

encode::EncodeOptions EncodeOptionsFor(const IlbmChoices& choices, encode::EncodeMode mode,
                                       const encode::TrueColourPicture& source) {
    encode::EncodeOptions options;
    options.Mode = mode;
    options.Ocs = choices.ocs || mode == encode::EncodeMode::Ham6;
    options.Dithering = choices.dither;
    options.Colour0 = choices.colour0;
    options.Colours = choices.colours.value_or(int32_t(kMaxPaletteColours));
    if (mode == encode::EncodeMode::Palette && !choices.colours)
        options.Colours = int32_t(std::clamp<size_t>(DistinctColours(source), 2, kMaxPaletteColours));
    return options;
}

bool CanWriteIlbm(const PictureContext& pic, const IlbmChoices& choices) {
    return IlbmModeFor(choices, encode::CanKeep(pic)) != encode::EncodeMode::Keep || encode::CanKeep(pic);
}

bool CanWriteIlbm(const input::InputPicture& picture, const IlbmChoices& choices) {
    return IlbmModeFor(choices, picture.Indexed.has_value()) != encode::EncodeMode::Keep || picture.Indexed;
}

std::vector<uint8_t> IlbmFromPicture(const PictureContext& pic, const IlbmChoices& choices) {
    const encode::EncodeMode mode = IlbmModeFor(choices, encode::CanKeep(pic));
    if (mode == encode::EncodeMode::Keep) {
        const encode::KeptPicture kept = encode::KeepPicture(pic);
        return BuildIlbmFile(kept.Picture, kept.Extras, choices.compression);
    }
    // The pixels' shape stays the input's.
    encode::IlbmExtras extras;
    extras.XAspect = uint8_t(pic.IlbmInfo.XAspectRatio);
    extras.YAspect = uint8_t(pic.IlbmInfo.YAspectRatio);
    return Encode(ColoursOf(pic), choices, mode, extras);
}

std::vector<uint8_t> IlbmFromPicture(const input::InputPicture& picture, const IlbmChoices& choices) {
    const encode::EncodeMode mode = IlbmModeFor(choices, picture.Indexed.has_value());
    if (mode == encode::EncodeMode::Keep) return BuildIlbmFile(*picture.Indexed, {}, choices.compression);
    return Encode(picture.Colours, choices, mode, {});
}

}  // namespace planora::cli
