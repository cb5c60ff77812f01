// PNG encoding of the loaded picture (the BMP's pixels), where the build has
// Qt's image writer.
#pragma once

#include <cstdint>
#include <vector>

namespace planora {
class PictureContext;
}

namespace planora::cli {

bool PngAvailable();
// Throws RunTimeError when the picture cannot be encoded.
std::vector<uint8_t> EncodePng(const PictureContext& pic);

}  // namespace planora::cli
