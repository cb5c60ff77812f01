// Running the reference decoders (netpbm's ppmtoilbm/ilbmtoppm and ffmpeg)
// and reading what they produce.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace planora::test {

// An RGB picture, 3 bytes per pixel, rows from the top.
struct RgbPicture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Rgb;
    uint32_t At(int32_t x, int32_t y) const {
        const size_t i = 3 * (size_t(y) * size_t(Width) + size_t(x));
        return (uint32_t(Rgb[i]) << 16) | (uint32_t(Rgb[i + 1]) << 8) | Rgb[i + 2];
    }
};

// True when the program can be found on PATH.
bool HaveTool(const std::string& name);
// Runs a shell command line; true when it exited with status 0. Standard
// error goes to errorLog.
bool Run(const std::string& commandLine, const std::string& errorLog);

// Binary PPM (P6, maxval 255).
void WritePpm(const std::string& path, const RgbPicture& picture);
// Reads a P6 PPM with maxval 255; Width 0 on any fault.
RgbPicture ReadPpm(const std::string& path);

// The picture as ilbmtoppm and as ffmpeg decode it (Width 0 when the tool
// failed; the reason is in the log file beside it).
RgbPicture DecodeWithIlbmtoppm(const std::string& iffPath);
RgbPicture DecodeWithFfmpeg(const std::string& iffPath, int32_t width, int32_t height);

// One ffmpeg run for several files (its start-up dominates small pictures).
struct FfmpegInput {
    std::string Path;
    int32_t Width = 0;
    int32_t Height = 0;
};
std::vector<RgbPicture> DecodeAllWithFfmpeg(const std::vector<FfmpegInput>& inputs, const std::string& errorLog);

}  // namespace planora::test
