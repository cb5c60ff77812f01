// Command line of planora-convert.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/ilbm_options.h"

namespace planora::cli {

enum class OutputFormat { Bmp, Png, Rgb, Lut, Txt, Apng, Iff };

struct Options {
    std::optional<OutputFormat> format;  // unset: from --output's extension, else bmp
    std::string output;                  // file (one input) or folder
    bool force = false;
    bool info = false;
    bool help = false;
    bool version = false;                // --version: the version and licence, nothing else
    int32_t thumbnail = 0;               // --thumbnail SIZE: inputs are INPUT and OUTPUT
    int32_t jobs = 0;                    // pictures converted at once; 0: one per core
    bool quiet = false;                  // no progress line
    bool frames = false;                 // every frame as a numbered file
    IlbmChoices ilbm;                    // --format iff: --mode, --colours ...
    bool aspect = false;                 // bmp, png, apng: pixels made square as displayed
    std::vector<std::string> inputs;
};

// Parses argv; on a usage error returns nullopt and sets `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// "bmp", "png", ... and back; the lookup ignores case.
const char* FormatExtension(OutputFormat format);
std::optional<OutputFormat> FormatFromName(const std::string& name);

std::string UsageText();
// --help: the usage text and the forms the converter reads.
std::string HelpText();
// --version: the program's version and its licence.
std::string VersionText();

}  // namespace planora::cli
