// Helpers of the motion tests: ffmpeg's frames of a file, and a small IFF
// ANIM encoder: a first frame as a whole ILBM, then every frame as a
// vertical delta (operation 7 or 8, word or long columns) against the frame
// two back, as animation programs write them.
#pragma once

#include <string>
#include <vector>

#include "ilbm_builder.h"
#include "reference_tools.h"

namespace planora::test {

inline std::string DataFile(const std::string& name) { return std::string(PLANORA_TEST_DATA) + "/" + name; }

// Every frame ffmpeg decodes from the file, in order; inputFormat is put
// before -i ("-f apng").
std::vector<RgbPicture> FfmpegFrames(const std::string& path, int32_t width, int32_t height,
                                     const std::string& inputFormat = "");

enum class DeltaKind { SplitShort, SplitLong, ListShort, ListLong };

struct AnimSource {
    int Planes = 4;
    std::vector<uint32_t> Colours;     // CMAP of the first frame
    std::vector<IndexPicture> Frames;  // all the same size
    uint32_t RelTime = 1;
};

std::vector<uint8_t> EncodeAnim(const AnimSource& source, DeltaKind kind);
// 40 ANHD bytes: operation, interleave, reltime and bits; the rest zero.
std::vector<uint8_t> AnhdData(uint8_t operation, uint8_t interleave, uint32_t relTime, uint32_t bits);
// FORM ANIM around the given FORMs.
std::vector<uint8_t> AnimFile(const std::vector<std::vector<uint8_t>>& forms);

}  // namespace planora::test
