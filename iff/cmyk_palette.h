// The CMYK chunk: a palette of ink values, in place of a CMAP.
#pragma once

#include <cstdint>
#include <vector>

#include "iff/byte_reader.h"

namespace planora {

// The RGB24 colours of the first length / 4 entries (at most `most`) of the
// CMYK data at the start of `bytes`; bytes past its end read as 0.
std::vector<uint32_t> CmykColours(ByteSpan bytes, int32_t length, int64_t most);

}  // namespace planora
