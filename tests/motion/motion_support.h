// Helpers of the motion tests: the test data files, and every frame ffmpeg
// decodes from a file.
#pragma once

#include "ilbm_builder.h"
#include "reference_tools.h"
#include "temp_dir.h"

namespace planora::test {

inline std::string DataFile(const std::string& name) { return PLANORA_TEST_DATA "/" + name; }

// inputFormat goes before -i ("-f apng").
inline std::vector<RgbPicture> FfmpegFrames(const std::string& path, int32_t width, int32_t height,
                                            const std::string& inputFormat = "") {
    TempDir dir;
    std::vector<RgbPicture> frames;
    if (!Run("ffmpeg -nostdin -v error -vsync passthrough " + inputFormat + " -i '" + path +
                 "' -f rawvideo -pix_fmt rgb24 " + dir.File("f.rgb"),
             dir.File("log")))
        return frames;
    const std::vector<uint8_t> bytes = ReadBytes(dir.File("f.rgb"));
    const auto size = std::ptrdiff_t(width) * height * 3;
    for (auto at = bytes.begin(); bytes.end() - at >= size; at += size) frames.push_back({width, height, {at, at + size}});
    return frames;
}

}  // namespace planora::test
