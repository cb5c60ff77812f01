// planora-convert: converts IFF ILBM pictures from the command line.
#include <iostream>

#include "cli/converter.h"
#include "cli/options.h"
#include "cli/thumbnail_mode.h"

int main(int argc, char** argv) {
    using namespace planora::cli;
    std::ios::sync_with_stdio(false);
    std::string error;
    const auto options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "planora-convert: " << error << "\n" << UsageText();
        return 2;
    }
    if (options->version) {
        std::cout << VersionText();
        return 0;
    }
    if (options->help) {
        std::cout << HelpText();
        return 0;
    }
    if (options->thumbnail)
        return RunThumbnail(options->thumbnail, options->inputs[0], options->inputs[1], std::cerr);
    return Converter(*options, std::cout, std::cerr).Run();
}
