// Copies the committed seed corpora (fuzz/seeds) into the given folders, where
// the replay tests read them.   make_seeds LOAD_DIR BYTERUN1_DIR
#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds LOAD_DIR BYTERUN1_DIR\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path seeds = fs::path(__FILE__).parent_path() / "seeds";
    for (const auto& [from, to] : {std::pair{"load", argv[1]}, std::pair{"byterun1", argv[2]}}) {
        fs::create_directories(to);
        fs::copy(seeds / from, to, fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    }
    return 0;
}
