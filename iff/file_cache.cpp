// The file cache: the whole input file in one byte array followed by two zero
// bytes, read through one cursor with big-endian readers. Reads at or past
// the end of the file yield 0, so a truncated file or a chunk length that
// points past the end never makes a reader leave the array.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <sys/stat.h>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
}  // namespace

void PictureContext::Load_TemplateFile_to_cache(const std::string& Filename) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(Filename.c_str(), "rb"));
    if (!file) throw ErrorFromErrno(errno, false);
    struct stat info {};
    if (::fstat(::fileno(file.get()), &info) != 0) throw ErrorFromErrno(errno, false);
    if (S_ISDIR(info.st_mode)) throw RunTimeError(kPathFileAccessError);

    const size_t length = static_cast<size_t>(info.st_size);
    PixelArray<uint8_t> cache;
    try {
        cache = PixelArray<uint8_t>(length + 2);  // zeros, as the pages come
    } catch (const std::bad_alloc&) {
        throw RunTimeError(kOutOfMemory);
    } catch (const std::length_error&) {
        throw RunTimeError(kOutOfMemory);
    }
    const size_t got = std::fread(cache.data(), 1, length, file.get());
    if (got != length && std::ferror(file.get())) throw ErrorFromErrno(errno ? errno : EIO, false);
    // A file that shrank while being read keeps zeros in the missing part.
    FileCache = std::move(cache);
}

size_t PictureContext::CachedLength() const { return FileCache.size() >= 2 ? FileCache.size() - 2 : 0; }

uint8_t PictureContext::ByteAt(int64_t pos) const {
    if (pos < 0 || static_cast<uint64_t>(pos) >= FileCache.size()) return 0;
    return FileCache[static_cast<size_t>(pos)];
}

uint8_t PictureContext::Iff_Read_Byte() {
    // The cursor must convert to a 32-bit signed index.
    if (CachePos >= (int64_t{1} << 31)) throw RunTimeError(kOverflow);
    return ByteAt(CachePos++);
}

int32_t PictureContext::Iff_Read_Word() {
    const uint32_t b0 = Iff_Read_Byte();
    const uint32_t b1 = Iff_Read_Byte();
    return static_cast<int16_t>(static_cast<uint16_t>((b0 << 8) | b1));
}

uint32_t PictureContext::Iff_Read_Long() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | Iff_Read_Byte();
    return value;
}

std::string PictureContext::IFF_Get_String() {
    std::string text(4, '\0');
    for (char& c : text) c = static_cast<char>(Iff_Read_Byte());
    return text;
}

}  // namespace planora
