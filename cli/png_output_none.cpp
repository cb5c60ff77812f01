#include "cli/png_output.h"
#include "iff/run_time_error.h"

namespace planora::cli {

bool PngAvailable() { return false; }

std::vector<uint8_t> EncodePng(const PictureContext&) {
    throw RunTimeError(kPathFileAccessError, "PNG output is not available in this build");
}

}  // namespace planora::cli
