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

InputPicture ReadBmp(Bytes bytes, int64_t byteBudget) {
    if (bytes.size() > size_t(INT32_MAX)) throw InputError("BMP: file too large");
    int width = 0, height = 0, channels = 0;
    const int length = int(bytes.size());
    // The size first: stb_image's own limit would give a less clear message.
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels))
        throw InputError(std::string("BMP: ") + stbi_failure_reason());
    CheckInputSize(width, height, byteBudget);
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
