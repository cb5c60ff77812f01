// "-" for standard input and standard output, as netpbm and ffmpeg take it.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

namespace planora {
class PictureContext;
}

namespace planora::cli {

inline constexpr const char* kStandardStream = "-";
inline bool IsStandardStream(const std::string& path) { return path == kStandardStream; }

// Load_IFF_To_Array, or for "-" the same load of everything standard input holds.
int16_t LoadInput(PictureContext& pic, const std::string& input);

// Runs write with the path of a file in a new temporary folder, then copies
// the file to out and removes it: the writers, which replace files safely,
// serve standard output unchanged. Throws RunTimeError.
void WriteThroughTemporaryFile(std::ostream& out, const std::string& extension,
                               const std::function<void(const std::string& path)>& write);

}  // namespace planora::cli
