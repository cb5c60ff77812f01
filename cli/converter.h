// Converts input files one after another through one picture context, as the
// program loads one picture after another: palettes carry over between loads.
// In a batch the outputs are written on other threads (cli/batch.h).
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/batch.h"
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
    // Whether target may be written for input (not the input itself, not an
    // existing file without --force); prints why not.
    bool TargetAllowed(const std::string& input, const std::string& target);
    // --format iff from a PNG, JPEG, GIF or BMP file whose bytes the failed
    // IFF load left in the context (cli/foreign_input.cpp).
    bool ConvertForeignPicture(const std::string& input, const std::string& target);
    // Writes the picture, handed over from the context, to target ("-":
    // standard output); a failure is printed to err. Runs on a worker for
    // pictures written in a batch.
    bool WritePicture(PictureContext pic, const std::string& input, const std::string& target,
                      std::ostream& err) const;
    void WritePictureFile(PictureContext pic, const std::string& path) const;
    // The same for a picture that stays where it is (an animated PNG plays
    // the frames of a copy); with a stream, a BMP begun during the load.
    void WriteStillFile(const PictureContext& pic, const std::string& path, BitmapStream* stream) const;
    // --frames: every frame the picture shows as NAME-0001.ext ... beside
    // target's name (cli/frame_files.cpp).
    bool WriteFrames(const std::string& input, const std::string& target);
    // Writes the bytes build gives to target ("-": standard output); false
    // after printing the failure to err.
    bool WriteBytes(const std::string& input, const std::string& target,
                    const std::function<std::vector<uint8_t>()>& build, std::ostream& err) const;
    // Runs write; returns false after printing its failure to err.
    template <class Write>
    bool Reporting(const std::string& input, std::ostream& err, Write write) const;
    std::string OutputPathFor(const std::string& input) const;
    void Fail(const std::string& input, const std::string& message);

    void ShowMessage(const std::string& text) override;
    void ShowImageInfo(const std::vector<DetailLine>&) override {}

    Options options_;
    OutputFormat format_;
    Batch batch_;  // before out_ and err_, which are its streams
    std::ostream& out_;
    std::ostream& err_;
    PictureContext pic_;
    std::string currentInput_;
    bool messageShown_ = false;
    bool infoPrinted_ = false;
};

}  // namespace planora::cli
