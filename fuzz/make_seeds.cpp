// Writes the seed corpora of the fuzz targets (seed_pictures.h) as files.
//   make_seeds LOAD_DIR BYTERUN1_DIR
#include <cstdio>
#include <filesystem>

#include "seed_pictures.h"

namespace {
void WriteAll(const std::filesystem::path& folder, const std::vector<planora::test::seeds::NamedFile>& files) {
    std::filesystem::create_directories(folder);
    for (const auto& [name, bytes] : files) planora::test::WriteBytes((folder / name).string(), bytes);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds LOAD_DIR BYTERUN1_DIR\n");
        return 2;
    }
    WriteAll(argv[1], planora::test::seeds::LoadSeeds());
    WriteAll(argv[2], planora::test::seeds::BodySeeds());
    return 0;
}
