// Running planora-convert as a process, and pictures whose colours are known
// by construction, for the desktop tests.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ilbm_builder.h"
#include "temp_dir.h"

namespace planora::test {

using Bytes = std::vector<uint8_t>;

struct ProcessResult {
    int Status = -1;
    std::string Out, Err;
};

inline std::string Text(const std::string& path) {
    const Bytes bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// Runs `prefix planora-convert args` through the shell (so the prefix may be
// `env ...` or a redirection of standard input).
inline ProcessResult RunConvert(const std::vector<std::string>& args, const std::string& prefix = "") {
    const TempDir scratch;
    std::string command = prefix + "'" PLANORA_CONVERT_PATH "'";
    for (const auto& arg : args) command += " '" + arg + "'";
    const int raw = std::system((command + " >" + scratch.File("out") + " 2>" + scratch.File("err")).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Text(scratch.File("out")), Text(scratch.File("err"))};
}

// A palette picture, ByteRun1: pixel (x, y) has index (7x + 3y + xy mod 5)
// mod 2^planes (the planes keep the low bits), colour i is i * 0x3F1D57 * seed
// in the low 24 bits; a CAMG of displayMode where it is not 0.
inline Bytes KnownPicture(int32_t width, int32_t height, int planes, uint32_t seed = 1, bool cmap = true,
                          uint32_t displayMode = 0) {
    IndexPicture indices(width, height);
    std::vector<uint32_t> palette(size_t{1} << planes);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) indices.At(x, y) = uint8_t(7 * x + 3 * y + (x * y) % 5);
    for (size_t i = 0; i < palette.size(); ++i) palette[i] = uint32_t(i * 0x3F1D57u * seed) & 0xFFFFFF;
    IlbmBuilder file;
    file.Bmhd(width, height, planes, 1);
    if (cmap) file.Cmap(palette);
    if (displayMode) file.Camg(displayMode);
    return file.Body(indices, {.Planes = planes, .Compression = Packing::ByteRun1}).Bytes();
}

// The pictures of tests/data.
inline std::vector<std::string> Corpus() {
    // The pictures copied from other people's files: SOURCES.tsv names their
    // original in its second column. Renderings (.pam) and the malformed
    // table's files are not pictures to read.
    std::vector<std::string> files;
    std::ifstream sources(PLANORA_TEST_DATA "/SOURCES.tsv");
    for (std::string line; std::getline(sources, line);) {
        const std::string name = line.substr(0, line.find('\t'));
        const size_t second = name.size() + 1;
        if (second < line.size() && line[second] != '\t' && name.find('/') == std::string::npos &&
            !name.ends_with(".pam") && name != "file")
            files.push_back(PLANORA_TEST_DATA "/" + name);
    }
    return files;
}

}  // namespace planora::test
