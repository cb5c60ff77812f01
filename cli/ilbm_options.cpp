#include "cli/ilbm_options.h"

#include <cstdlib>

namespace planora::cli {

namespace {
constexpr const char* kValueOptions[] = {"--mode", "--colours", "--dither", "--compress", "--colour0"};

struct ModeName {
    encode::EncodeMode mode;
    const char* name;
};
constexpr ModeName kModes[] = {{encode::EncodeMode::Keep, "keep"},
                               {encode::EncodeMode::Palette, "palette"},
                               {encode::EncodeMode::Ehb, "ehb"},
                               {encode::EncodeMode::Ham6, "ham6"},
                               {encode::EncodeMode::Ham8, "ham8"}};

bool ParseColour(const std::string& value, encode::Rgb& colour) {
    const std::string digits = value.size() == 7 && value[0] == '#' ? value.substr(1) : value;
    if (digits.size() != 6 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    const unsigned long rgb = std::strtoul(digits.c_str(), nullptr, 16);
    colour = {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)};
    return true;
}

bool ParseColours(const std::string& value, int32_t& count) {
    if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos) return false;
    count = std::atoi(value.c_str());
    return count >= 2 && count <= 256;
}
}  // namespace

const char* IlbmValueOption(const std::string& arg) {
    for (const char* name : kValueOptions) {
        const std::string option = name;
        if (arg == option || arg.rfind(option + "=", 0) == 0) return name;
    }
    return nullptr;
}

bool SetIlbmOption(const std::string& name, const std::string& value, IlbmChoices& choices, std::string& error) {
    if (name == "--mode") {
        for (const ModeName& mode : kModes)
            if (value == mode.name) {
                choices.mode = mode.mode;
                return true;
            }
        error = "unknown mode '" + value + "' (keep, palette, ehb, ham6 or ham8)";
        return false;
    }
    if (name == "--colours") {
        int32_t count = 0;
        if (ParseColours(value, count)) {
            choices.colours = count;
            return true;
        }
        error = "--colours needs a whole number from 2 to 256";
        return false;
    }
    if (name == "--dither") {
        if (value == "none") choices.dither = encode::Dither::None;
        else if (value == "fs") choices.dither = encode::Dither::ErrorDiffusion;
        else if (value == "ordered") choices.dither = encode::Dither::Ordered;
        else {
            error = "unknown dither '" + value + "' (none, fs or ordered)";
            return false;
        }
        return true;
    }
    if (name == "--compress") {
        if (value == "byterun1") choices.compression = IlbmCompression::ByteRun1;
        else if (value == "none") choices.compression = IlbmCompression::None;
        else {
            error = "unknown compression '" + value + "' (byterun1 or none)";
            return false;
        }
        return true;
    }
    encode::Rgb colour;
    if (!ParseColour(value, colour)) {
        error = "--colour0 needs a colour as RRGGBB, six hexadecimal digits";
        return false;
    }
    choices.colour0 = colour;
    return true;
}

std::string IlbmOptionsHelp() {
    return "Writing IFF ILBM (--format iff):\n"
           "  --mode MODE      keep     the picture's own indices, colour map, display mode,\n"
           "                            colour ranges and per-line palettes (the default\n"
           "                            for IFF pictures and palette PNG or GIF)\n"
           "                   palette  up to --colours colours (2 to 256; default 256,\n"
           "                            or fewer when the picture has fewer)\n"
           "                   ehb      Extra-Half-Brite: 32 colours and their halves\n"
           "                   ham6     hold-and-modify, 6 planes, 12-bit colour map\n"
           "                   ham8     hold-and-modify, 8 planes (AGA; the default for\n"
           "                            true-colour pictures)\n"
           "  --colours N      colours of --mode palette\n"
           "  --ocs            a 12-bit colour map, as OCS/ECS machines show it\n"
           "  --dither KIND    none (the default), fs (error diffusion) or ordered\n"
           "  --compress KIND  byterun1 (the default) or none\n"
           "  --colour0 RRGGBB colour 0 (the background) fixed to this colour\n"
           "  An IFF input's output would be the input itself: name it with --output\n"
           "  and give --force to rewrite it in place.\n";
}

}  // namespace planora::cli
