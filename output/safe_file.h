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
struct ByteSpan {
    const uint8_t* data;
    size_t size;
};

// Throws RunTimeError (from errno) when the file cannot be written.
void WriteFileReplacing(const std::string& path, const uint8_t* data, size_t size);
// The same for a file made of pieces, written in order with as few system
// calls as the pieces allow.
void WriteFileReplacing(const std::string& path, const std::vector<ByteSpan>& pieces);
inline void WriteFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFileReplacing(path, bytes.data(), bytes.size());
}

}  // namespace planora
