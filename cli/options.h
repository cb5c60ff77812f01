// Command line of planora-convert.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace planora::cli {

enum class OutputFormat { Bmp, Png, Rgb, Lut, Txt };

struct Options {
    std::optional<OutputFormat> format;  // unset: from --output's extension, else bmp
    std::string output;                  // file (one input) or folder
    bool force = false;
    bool info = false;
    bool help = false;
    std::vector<std::string> inputs;
};

// Parses argv; on a usage error returns nullopt and sets `error`.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// "bmp", "png", ... and back; the lookup ignores case.
const char* FormatExtension(OutputFormat format);
std::optional<OutputFormat> FormatFromName(const std::string& name);

std::string UsageText();

}  // namespace planora::cli
