// --frames: the frames of an IFF ANIM as numbered still pictures.
//
// NAME-0001.ext is the first frame; the loop frames at the end of an
// animation, which repeat the first two, are not written again. A picture
// that is not an animation gives NAME-0001.ext alone; a CAT or LIST file gives
// one file for each picture it holds. Every file is checked
// before anything is written, so an existing frame without --force leaves
// all of them as they were.
#include <cstdio>
#include <optional>

#include "cli/converter.h"
#include "cli/ilbm_conversion.h"
#include "cli/standard_streams.h"
#include "decode/frame_source.h"
#include "iff/file_system.h"
#include "iff/run_time_error.h"
#include "output/exports.h"

namespace planora::cli {

namespace {
std::string NumberedPath(const std::string& target, size_t frame) {
    const std::string name = GetFileName(target);
    const size_t dot = name.rfind('.');
    const size_t cut = dot == std::string::npos || dot == 0 ? target.size() : target.size() - (name.size() - dot);
    char number[16];
    std::snprintf(number, sizeof number, "-%04zu", frame + 1);
    return target.substr(0, cut) + number + target.substr(cut);
}

// Plays the context's picture for a while and gives it back, in the state the
// frames left it, when the scope ends.
class PlayedPicture {
public:
    explicit PlayedPicture(PictureContext& pic) : pic_(pic), frames_(std::move(pic)) {}
    ~PlayedPicture() { pic_ = std::move(frames_).Release(); }
    FrameSource& Frames() { return frames_; }

private:
    PictureContext& pic_;
    FrameSource frames_;
};
}  // namespace

bool Converter::WriteFrames(const std::string& input, const std::string& target) {
    if (IsStandardStream(target)) {
        Fail(input, "--frames writes files, not standard output");
        return false;
    }
    if ((format_ == OutputFormat::Lut || format_ == OutputFormat::Txt) && !HasPaletteIndices(pic_)) {
        Fail(input, kNoPaletteIndicesText);
        return false;
    }
    if (format_ == OutputFormat::Iff && !CanWriteIlbm(pic_, options_.ilbm)) {
        Fail(input, kKeepNeedsIndicesText);
        return false;
    }
    // A CAT or LIST gives every picture it holds, loaded one after another
    // (from a file: standard input cannot be read again).
    const bool container = pic_.PictureCount > 1 && !IsStandardStream(input);
    // Anything else is played from the context (the palettes of its frames
    // carry over to the next load, as the last frame left them).
    std::optional<PlayedPicture> played;
    if (!container) played.emplace(pic_);
    FrameSource* source = played ? &played->Frames() : nullptr;
    const bool animation = source && source->Kind() == FrameKind::Animation;
    const size_t frames = container ? size_t(pic_.PictureCount) : animation ? source->Count() : 1;
    if (source && !source->Problem().empty()) err_ << input << ": " << source->Problem() << "\n";
    for (size_t i = 0; i < frames && !options_.force; ++i) {
        if (FileExists(NumberedPath(target, i))) {
            Fail(input, NumberedPath(target, i) + " exists; use --force to replace it");
            return false;
        }
    }
    size_t i = 0;
    try {
        for (; i < frames; ++i) {
            if (i > 0 && animation) source->Frame(i);
            if (i > 0 && container) {
                pic_.PictureIndex = int32_t(i);
                if (pic_.Load_IFF_To_Array(input) != 1) throw RunTimeError(kInvalidFileFormat, "not a picture");
            }
            WriteStillFile(source ? source->Picture() : pic_, NumberedPath(target, i), nullptr);
        }
    } catch (const RunTimeError& failure) {
        Fail(input, (container ? "picture " + std::to_string(i + 1) + ": " : std::string()) +
                        FormatFailure("Error: ", failure, " "));
        played.reset();
        pic_.PictureIndex = 0;
        return false;
    }
    // The palette and the arrays back as the load left them.
    if (animation) source->Rewind();
    played.reset();
    pic_.PictureIndex = 0;
    return true;
}

}  // namespace planora::cli
