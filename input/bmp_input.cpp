// BMP through stb_image (Debian's libstb-dev), built with its BMP reader
// only, so no other format's decoder is reachable from here. BMP palettes
// are not kept: the picture comes in as true colour.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 32767
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

#include <memory>

#include "input/format_readers.h"

namespace planora::input {

namespace {
uint32_t LittleEndian(Bytes bytes, size_t at, size_t length) {
    uint32_t value = 0;
    for (size_t i = length; i-- > 0;) value = value << 8 | (at + i < bytes.size() ? bytes[at + i] : 0);
    return value;
}

// stb_image reads the pixels of a file cut short as zeros: the pixel rows an
// uncompressed BMP's header promises must all be in the file.
void CheckPixelsPresent(Bytes bytes, int width, int height) {
    constexpr uint32_t kPlainRgb = 0, kBitFields = 3;
    const uint32_t headerSize = LittleEndian(bytes, 14, 4);
    const bool core = headerSize == 12;
    const uint32_t bits = LittleEndian(bytes, core ? 24 : 28, 2);
    const uint32_t compression = core ? kPlainRgb : LittleEndian(bytes, 30, 4);
    if (compression != kPlainRgb && compression != kBitFields) return;
    const uint64_t rowBytes = (uint64_t(width) * bits + 31) / 32 * 4;
    if (LittleEndian(bytes, 10, 4) + rowBytes * uint64_t(height) > bytes.size())
        throw InputError("BMP: the file is cut short");
}
}  // namespace

InputPicture ReadBmp(Bytes bytes, int64_t byteBudget) {
    if (bytes.size() > size_t(INT32_MAX)) throw InputError("BMP: file too large");
    int width = 0, height = 0, channels = 0;
    const int length = int(bytes.size());
    // The size first: stb_image's own limit would give a less clear message.
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels))
        throw InputError(std::string("BMP: ") + stbi_failure_reason());
    CheckInputSize(width, height, byteBudget);
    CheckPixelsPresent(bytes, width, height);
    std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> pixels(
        stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 3), stbi_image_free);
    if (!pixels) throw InputError(std::string("BMP: ") + stbi_failure_reason());
    InputPicture picture;
    picture.Colours.Width = width;
    picture.Colours.Height = height;
    picture.Colours.Rgb.assign(pixels.get(), pixels.get() + size_t(width) * size_t(height) * 3);
    return picture;
}

}  // namespace planora::input
