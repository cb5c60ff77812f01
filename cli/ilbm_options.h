// The options of --format iff: which encoding, how many colours, the OCS
// colour map, dithering, packing and a fixed colour 0.
#pragma once

#include <optional>
#include <string>

#include "encode/indexed_picture.h"
#include "output/ilbm_writer.h"

namespace planora::cli {

struct IlbmChoices {
    // Unset: keep for a picture with palette indices (an IFF picture, a
    // palette PNG or GIF), ham8 for a true-colour one.
    std::optional<encode::EncodeMode> mode;
    // Unset: 256, or the picture's own number of colours when it has fewer.
    std::optional<int32_t> colours;
    bool ocs = false;
    encode::Dither dither = encode::Dither::None;
    IlbmCompression compression = IlbmCompression::ByteRun1;
    std::optional<encode::Rgb> colour0;
};

// "--mode" for "--mode" or "--mode=...", and so on for the options of
// IlbmChoices that take a value; nullptr for any other argument.
const char* IlbmValueOption(const std::string& arg);
// Sets the option named (as IlbmValueOption gives it) from value; false with
// error set for a value it does not take.
bool SetIlbmOption(const std::string& name, const std::string& value, IlbmChoices& choices, std::string& error);

// The lines of --help that describe them.
std::string IlbmOptionsHelp();

}  // namespace planora::cli
