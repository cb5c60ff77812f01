// --frames: the frames of an IFF ANIM as numbered still pictures.
//
// NAME-0001.ext is the first frame; the loop frames at the end of an
// animation, which repeat the first two, are not written again. A picture
// that is not an animation gives NAME-0001.ext alone; a CAT or LIST file gives
// one file for each picture it holds. Every file is checked
// before anything is written, so an existing frame without --force leaves
// all of them as they were.
#include <cstdio>

#include "cli/converter.h"
#include "cli/standard_streams.h"
#include "decode/anim_player.h"
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
    // A CAT or LIST gives every picture it holds, loaded one after another
    // (from a file: standard input cannot be read again).
    const bool container = pic_.PictureCount > 1 && !IsStandardStream(input);
    std::unique_ptr<AnimPlayer> player;
    if (pic_.IsAnimation() && !container) player = std::make_unique<AnimPlayer>(pic_);
    const size_t frames = container ? size_t(pic_.PictureCount) : player ? player->FrameCount() : 1;
    if (player && !player->Problem().empty()) err_ << input << ": " << player->Problem() << "\n";
    for (size_t i = 0; i < frames && !options_.force; ++i) {
        if (FileExists(NumberedPath(target, i))) {
            Fail(input, NumberedPath(target, i) + " exists; use --force to replace it");
            return false;
        }
    }
    size_t i = 0;
    try {
        for (; i < frames; ++i) {
            if (i > 0 && player) player->Next();
            if (i > 0 && container) {
                pic_.PictureIndex = int32_t(i);
                if (pic_.Load_IFF_To_Array(input) != 1) throw RunTimeError(kInvalidFileFormat, "not a picture");
            }
            WritePictureFile(pic_, NumberedPath(target, i), nullptr);
        }
    } catch (const RunTimeError& failure) {
        pic_.PictureIndex = 0;
        Fail(input, (container ? "picture " + std::to_string(i + 1) + ": " : std::string()) +
                        FormatFailure("Error: ", failure, " "));
        return false;
    }
    pic_.PictureIndex = 0;
    // The palette and the arrays back as the load left them.
    if (player) player->Show(0);
    return true;
}

}  // namespace planora::cli
