#include "cli/options.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "iff/form_table.h"

namespace planora::cli {

namespace {
struct FormatName {
    OutputFormat format;
    const char* name;
};
constexpr FormatName kFormats[] = {{OutputFormat::Bmp, "bmp"},
                                   {OutputFormat::Png, "png"},
                                   {OutputFormat::Rgb, "rgb"},
                                   {OutputFormat::Lut, "lut"},
                                   {OutputFormat::Txt, "txt"},
                                   {OutputFormat::Apng, "apng"},
                                   {OutputFormat::Iff, "iff"}};

// "--name=value" or "--name value".
bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name, std::string& value,
               std::string& error) {
    const std::string& arg = args[i];
    if (arg.rfind(name + "=", 0) == 0) {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size()) {
        error = name + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

// A whole number from low to high, for "--name VALUE".
bool TakeCount(const std::vector<std::string>& args, size_t& i, const std::string& name, int32_t low, int32_t high,
               int32_t& count, std::string& error) {
    std::string value;
    if (!TakeValue(args, i, name, value, error)) return false;
    size_t used = 0;
    long number = 0;
    try {
        number = std::stol(value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != value.size() || number < low || number > high) {
        error = name + " needs a whole number from " + std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    count = int32_t(number);
    return true;
}
}  // namespace

const char* FormatExtension(OutputFormat format) {
    // An animated PNG is a PNG to every program that shows only its first frame.
    if (format == OutputFormat::Apng) return "png";
    for (const auto& f : kFormats)
        if (f.format == format) return f.name;
    return "bmp";
}

std::optional<OutputFormat> FormatFromName(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const auto& f : kFormats)
        if (lower == f.name) return f.format;
    return std::nullopt;
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options options;
    bool onlyInputs = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto is = [&](const char* name) { return arg == name || arg.rfind(std::string(name) + "=", 0) == 0; };
        if (onlyInputs || arg.empty() || arg[0] != '-' || arg == "-") {
            options.inputs.push_back(arg);
        } else if (arg == "--") {
            onlyInputs = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else if (arg == "--force" || arg == "-f") {
            options.force = true;
        } else if (arg == "--info") {
            options.info = true;
        } else if (is("--format")) {
            std::string value;
            if (!TakeValue(args, i, "--format", value, error)) return std::nullopt;
            options.format = FormatFromName(value);
            if (!options.format) {
                error = "unknown format '" + value + "' (bmp, png, apng, rgb, lut, txt or iff)";
                return std::nullopt;
            }
        } else if (is("--thumbnail")) {
            if (!TakeCount(args, i, "--thumbnail", 1, 32767, options.thumbnail, error)) return std::nullopt;
        } else if (is("--jobs") || arg == "-j") {
            if (!TakeCount(args, i, arg == "-j" ? "-j" : "--jobs", 1, 256, options.jobs, error)) return std::nullopt;
        } else if (const char* name = IlbmValueOption(arg)) {
            std::string value;
            if (!TakeValue(args, i, name, value, error) || !SetIlbmOption(name, value, options.ilbm, error))
                return std::nullopt;
        } else if (arg == "--ocs") {
            options.ilbm.ocs = true;
        } else if (arg == "--frames") {
            options.frames = true;
        } else if (arg == "--aspect") {
            options.aspect = true;
        } else if (arg == "--quiet" || arg == "-q") {
            options.quiet = true;
        } else if (is("--output") || arg == "-o") {
            std::string value;
            if (!TakeValue(args, i, arg == "-o" ? "-o" : "--output", value, error)) return std::nullopt;
            if (value.empty()) {
                error = "--output needs a path";
                return std::nullopt;
            }
            options.output = value;
        } else {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
    }
    if (options.version) options.help = false;  // the version alone, as other tools print it
    if (!options.help && !options.version && options.inputs.empty()) {
        error = "no input file";
        return std::nullopt;
    }
    if (options.frames && options.format == OutputFormat::Apng) {
        error = "--frames writes still pictures: choose bmp, png, rgb, lut or txt";
        return std::nullopt;
    }
    if (!options.help && !options.version && options.thumbnail && options.inputs.size() != 2) {
        error = "--thumbnail SIZE needs an INPUT and an OUTPUT";
        return std::nullopt;
    }
    return options;
}

std::string UsageText() {
    return "Usage: planora-convert [--format bmp|png|apng|rgb|lut|txt|iff] [--output PATH] [--force]\n"
           "                      [--info] [--frames] [--aspect] [--jobs N] [--quiet] INPUT...\n"
           "       planora-convert --format iff [--mode MODE] [--colours N] [--ocs] [--dither KIND]\n"
           "                      [--compress KIND] [--colour0 RRGGBB] [--output PATH] INPUT...\n"
           "       planora-convert --thumbnail SIZE INPUT OUTPUT\n"
           "       planora-convert --help | --version\n"
           "Converts Amiga IFF ILBM pictures (ordinary, Extra-Half-Brite, HAM6, HAM8 and\n"
           "per-line palettes) to other formats, and writes ILBM from them and from\n"
           "PNG, JPEG, GIF and BMP pictures.\n"
           "\n"
           "  --format FORMAT  bmp  32-bit BMP (the default)\n"
           "                   png  PNG with the same pixels\n"
           "                   rgb  raw 32-bit RGB words of the whole picture array\n"
           "                   lut  raw 8-bit palette indices of the whole picture array\n"
           "                   txt  the palette as text, one $rrggbb line per colour\n"
           "                   apng animated PNG (.png): every frame of an IFF ANIM, or\n"
           "                        one period of colour cycling, at most 600 frames;\n"
           "                        a still picture gives one frame\n"
           "                   iff  IFF ILBM (.iff), also from PNG, JPEG, GIF and BMP\n"
           "                        pictures: see the options below\n"
           "                   Without it the extension of --output decides, else bmp.\n"
           "  --output PATH    the output file; with several inputs, an existing folder.\n"
           "                   Without it each output goes beside its input, with the\n"
           "                   input's name and the format's extension.\n"
           "  --force          replace output files that exist\n"
           "  --info           print each picture's details and write nothing\n"
           "  --frames         write every frame of an IFF ANIM as a numbered file in\n"
           "                   the format chosen: NAME-0001.png, NAME-0002.png ...\n"
           "  --aspect         bmp, png and apng: the picture as its display showed it,\n"
           "                   rows or columns added where its pixels were not square\n"
           "                   (hires, interlace, the BMHD's pixel aspect); rgb, lut\n"
           "                   and txt keep the stored pixels\n"
           "  --jobs N         write outputs on N threads (default: one per core)\n"
           "  --quiet          no progress line for a batch on a terminal\n"
           "  --thumbnail SIZE write OUTPUT, a PNG of INPUT no larger than SIZE on\n"
           "                   either side, for file managers' thumbnails\n"
           "  -                as INPUT reads standard input; as --output (or when\n"
           "                   INPUT is -) writes standard output, in --format or bmp\n"
           "  --help           show this text\n"
           "  --version        show the version and the licence\n"
           "\n" +
           IlbmOptionsHelp() +
           "\n"
           "Exit status: 0 when every input was converted, 1 when any failed, 2 for a\n"
           "usage error.\n";
}

std::string HelpText() {
    std::string text = UsageText() + "\nPictures read, known by their content whatever their names:\n";
    for (const FormRow& form : Forms()) {
        std::string line = "  " + std::string(form.Name);
        line.resize(8, ' ');
        line += std::string(form.Title) + " (";
        for (size_t i = 0; i < form.Extensions.size(); ++i) line += (i ? " ." : ".") + std::string(form.Extensions[i].Name);
        text += line + ")\n";
    }
    return text + "  and the pictures inside CAT and LIST files.\n";
}

std::string VersionText() {
    return "planora-convert (Planora) " PLANORA_VERSION "\n"
           "Copyright (c) 2026 Planora Team\n"
           "License: MIT\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace planora::cli
