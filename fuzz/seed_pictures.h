// The fuzz targets' seed corpora: small valid files of every mode the loader
// knows (fuzz/seeds/load, all 19 x 7 pixels) and BODY inputs of the BODY
// target (fuzz/seeds/byterun1); fuzz/seeds/SOURCES.tsv says how each was
// made. The robustness and leak tests start from the same files.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "ilbm_builder.h"

namespace planora::test::seeds {

using NamedFile = std::pair<std::string, std::vector<uint8_t>>;

inline constexpr int32_t kWidth = 19;  // odd, so rows carry padding pixels
inline constexpr int32_t kHeight = 7;

// The files of fuzz/seeds/<target>, sorted by name.
inline std::vector<NamedFile> SeedFiles(const std::string& target) {
    std::vector<NamedFile> files;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(__FILE__).parent_path() / "seeds" / target))
        files.emplace_back(entry.path().filename().string(), ReadBytes(entry.path().string()));
    std::sort(files.begin(), files.end());
    return files;
}
inline std::vector<NamedFile> LoadSeeds() { return SeedFiles("load"); }
inline std::vector<NamedFile> BodySeeds() { return SeedFiles("byterun1"); }

}  // namespace planora::test::seeds
