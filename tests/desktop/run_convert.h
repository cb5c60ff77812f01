// Running planora-convert as a process, and pictures whose colours are known
// by construction, for the desktop tests.
#pragma once

#include <sys/wait.h>

#include <bit>
#include <cstdlib>
#include <string>
#include <vector>

#include "ilbm_builder.h"
#include "temp_dir.h"

namespace planora::test {

struct ProcessResult {
    int Status = -1;
    std::string Out, Err;
};

// Runs `prefix planora-convert args` through the shell, standard input from
// stdinPath when given; output and errors are kept in files in `scratch`.
inline ProcessResult RunConvert(const TempDir& scratch, const std::vector<std::string>& args,
                                const std::string& prefix = "", const std::string& stdinPath = "") {
    std::string command = prefix + "'" PLANORA_CONVERT_PATH "'";
    for (const auto& arg : args) command += " '" + arg + "'";
    if (!stdinPath.empty()) command += " <'" + stdinPath + "'";
    command += " >'" + scratch.File("run.out") + "' 2>'" + scratch.File("run.err") + "'";
    const int raw = std::system(command.c_str());
    const auto text = [](const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); };
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, text(ReadBytes(scratch.File("run.out"))),
            text(ReadBytes(scratch.File("run.err")))};
}

// A palette picture: index (7x + 3y + xy mod 5) mod 2^planes, ByteRun1 BODY,
// colours spread over the cube by `seed`.
struct KnownPicture {
    IndexPicture Indices;
    std::vector<uint32_t> Palette;
    uint32_t ColourAt(int32_t x, int32_t y) const { return Palette[Indices.At(x, y)]; }
    IlbmBuilder File(uint8_t masking = 0, bool withCmap = true) const {
        IlbmBuilder file;
        const int planes = Palette.size() > 1 ? std::countr_zero(Palette.size()) : 1;
        file.Bmhd(Indices.Width, Indices.Height, planes, 1, masking);
        if (withCmap) file.Cmap(Palette);
        return file.Body(Indices, {.Planes = planes, .Compression = Packing::ByteRun1});
    }
};

inline KnownPicture MakeKnownPicture(int32_t width, int32_t height, int planes, uint32_t seed = 1) {
    KnownPicture picture{IndexPicture(width, height), std::vector<uint32_t>(size_t{1} << planes)};
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            picture.Indices.At(x, y) = uint8_t((7 * x + 3 * y + (x * y) % 5) % (1 << planes));
    for (size_t i = 0; i < picture.Palette.size(); ++i) picture.Palette[i] = uint32_t(i * 0x3F1D57u * seed) & 0xFFFFFF;
    return picture;
}

}  // namespace planora::test
