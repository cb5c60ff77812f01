#include "cli/standard_streams.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora::cli {

int16_t LoadInput(PictureContext& pic, const std::string& input) {
    if (!IsStandardStream(input)) return pic.Load_IFF_To_Array(input);
    std::vector<uint8_t> bytes;
    uint8_t block[1 << 16];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, block, sizeof block);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            throw ErrorFromErrno(errno, false);
        }
        bytes.insert(bytes.end(), block, block + got);
    }
    return pic.Load_IFF_From_Memory(input, std::move(bytes));
}

void WriteThroughTemporaryFile(std::ostream& out, const std::string& extension,
                               const std::function<void(const std::string& path)>& write) {
    std::error_code error;
    std::string pattern = (std::filesystem::temp_directory_path(error) / "planora-XXXXXX").string();
    if (error || !::mkdtemp(pattern.data())) throw ErrorFromErrno(error ? error.value() : errno, true);
    const std::filesystem::path folder = pattern;
    const std::string path = (folder / ("output." + extension)).string();
    struct Remove {
        std::filesystem::path folder;
        ~Remove() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } remove{folder};
    write(path);
    std::ifstream file(path, std::ios::binary);
    out << file.rdbuf();
    out.flush();
    if (!file || !out) throw RunTimeError(kDeviceIoError);
}

}  // namespace planora::cli
