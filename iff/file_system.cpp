#include "iff/file_system.h"

#include <sys/stat.h>

namespace planora {

namespace {
size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }
}  // namespace

int16_t FileExists(const std::string& path) {
    if (path.empty()) return 0;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? -1 : 0;
}

std::string GetFileName(const std::string& path) {
    const size_t sep = LastSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string StripExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot == 0) return path;
    return path.substr(0, dot);
}

std::string FolderPart(const std::string& path) {
    const size_t sep = LastSeparator(path);
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string PathBesideSource(const std::string& sourcePath, const std::string& extension) {
    return FolderPart(sourcePath) + StripExtension(GetFileName(sourcePath)) + "." + extension;
}

}  // namespace planora
