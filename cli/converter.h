// Converts input files one after another through one picture context, as the
// program loads one picture after another: palettes carry over between loads.
#pragma once

#include <ostream>
#include <string>

#include "cli/options.h"
#include "iff/picture_context.h"

namespace planora {
class BitmapStream;
}

namespace planora::cli {

class Converter : private LoadObserver {
public:
    Converter(Options options, std::ostream& out, std::ostream& err);

    // Runs every input; returns the exit status (0 all converted, 1 any failed).
    int Run();

private:
    bool ConvertOne(const std::string& input);
    bool WriteOutput(const std::string& input, const std::string& target, BitmapStream* stream);
    std::string OutputPathFor(const std::string& input) const;
    void Fail(const std::string& input, const std::string& message);

    void ShowMessage(const std::string& text) override;
    void ShowImageInfo(const std::vector<DetailLine>&) override {}

    Options options_;
    OutputFormat format_;
    std::ostream& out_;
    std::ostream& err_;
    PictureContext pic_;
    std::string currentInput_;
    bool messageShown_ = false;
};

}  // namespace planora::cli
