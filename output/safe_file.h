// Writing a whole file without ever leaving a half-written one: the bytes go
// to a temporary file in the target's folder, which is flushed and then
// renamed over the target. A failure removes the temporary file and leaves an
// existing target untouched.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace planora {

// One piece of a file written from several places in memory.
struct FilePiece {
    const uint8_t* data;
    size_t size;
};

// A file being written in place of path: a temporary file beside it until
// Commit renames it over path. Destroyed uncommitted, it removes the temporary
// file. Every failure throws RunTimeError (from errno).
class ReplacingFile {
public:
    explicit ReplacingFile(const std::string& path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Writes the pieces one after another from the file offset given.
    void WriteAt(uint64_t offset, std::vector<FilePiece> pieces);
    void Commit();

private:
    std::string path_;
    std::string temporary_;
    int fd_ = -1;
};

// Throws RunTimeError (from errno) when the file cannot be written.
void WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size);
// The same for a file made of pieces, written in order with as few system
// calls as the pieces allow.
void WriteFileReplacing(const std::string& path, const std::vector<FilePiece>& pieces);
inline void WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFileReplacing(path, bytes.data(), bytes.size());
}

}  // namespace planora
