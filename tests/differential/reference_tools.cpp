#include "reference_tools.h"

#include <cstdlib>
#include <fstream>

#include "ilbm_builder.h"
#include "temp_dir.h"

namespace planora::test {

bool HaveTool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

bool Run(const std::string& commandLine, const std::string& errorLog) {
    return std::system((commandLine + " 2>" + errorLog).c_str()) == 0;
}

void WritePpm(const std::string& path, const RgbPicture& picture) {
    const std::string header = "P6\n" + std::to_string(picture.Width) + " " + std::to_string(picture.Height) + "\n255\n";
    std::vector<uint8_t> bytes(header.begin(), header.end());
    bytes.insert(bytes.end(), picture.Rgb.begin(), picture.Rgb.end());
    WriteBytes(path, bytes);
}

RgbPicture ReadPpm(const std::string& path) {
    // "P6", width, height, maxval (netpbm writes no comments), one white-space byte, the pixels.
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    RgbPicture p;
    in >> magic >> p.Width >> p.Height >> maxval;
    if (magic != "P6" || maxval != 255 || p.Width < 0 || p.Height < 0) return {};
    p.Rgb.resize(3 * size_t(p.Width) * size_t(p.Height));
    in.get();
    if (!in.read(reinterpret_cast<char*>(p.Rgb.data()), std::streamsize(p.Rgb.size()))) return {};
    return p;
}

// The tools' outputs go to a folder of their own, never beside the input,
// which may be one of the project's data files.
RgbPicture DecodeWithIlbmtoppm(const std::string& iffPath) {
    TempDir work;
    if (!Run("ilbmtoppm " + iffPath + " >" + work.File("out.ppm"), work.File("ilbmtoppm.log"))) return {};
    return ReadPpm(work.File("out.ppm"));
}

RgbPicture DecodeWithFfmpeg(const std::string& iffPath, int32_t width, int32_t height) {
    TempDir work;
    return DecodeAllWithFfmpeg({{iffPath, width, height}}, work.File("ffmpeg.log"))[0];
}

std::vector<RgbPicture> DecodeAllWithFfmpeg(const std::vector<FfmpegInput>& inputs, const std::string& errorLog) {
    TempDir work;
    const auto output = [&](size_t i) { return work.File(std::to_string(i) + ".rgb"); };
    std::string command = "ffmpeg -nostdin -v error -y";
    for (const FfmpegInput& in : inputs) command += " -f iff -i " + in.Path;
    for (size_t i = 0; i < inputs.size(); ++i)
        command += " -map " + std::to_string(i) + ":v -frames:v 1 -f rawvideo -pix_fmt rgb24 " + output(i);
    std::vector<RgbPicture> pictures(inputs.size());
    if (!Run(command, errorLog)) return pictures;
    for (size_t i = 0; i < inputs.size(); ++i) {
        RgbPicture& p = pictures[i];
        p.Rgb = ReadBytes(output(i));
        if (p.Rgb.size() != 3 * size_t(inputs[i].Width) * size_t(inputs[i].Height)) continue;
        p.Width = inputs[i].Width;
        p.Height = inputs[i].Height;
    }
    return pictures;
}

}  // namespace planora::test
