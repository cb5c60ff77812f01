#include "reference_tools.h"

#include <cstdlib>

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
    const std::vector<uint8_t> bytes = ReadBytes(path);
    // "P6", width, height, maxval, each after white space (netpbm writes no
    // comments), then one white-space byte before the pixels.
    size_t pos = 0;
    auto token = [&]() {
        while (pos < bytes.size() && std::isspace(bytes[pos])) ++pos;
        std::string t;
        while (pos < bytes.size() && !std::isspace(bytes[pos])) t.push_back(char(bytes[pos++]));
        return t;
    };
    RgbPicture p;
    if (token() != "P6") return p;
    const int32_t w = std::atoi(token().c_str()), h = std::atoi(token().c_str());
    if (token() != "255" || bytes.size() < ++pos + 3 * size_t(w) * size_t(h)) return p;
    p.Rgb.assign(bytes.begin() + std::ptrdiff_t(pos), bytes.begin() + std::ptrdiff_t(pos + 3 * size_t(w) * size_t(h)));
    p.Width = w;
    p.Height = h;
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
