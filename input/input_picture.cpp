#include "input/input_picture.h"

#include <algorithm>
#include <cstring>

#include "input/format_readers.h"

namespace planora::input {

namespace {
constexpr int64_t kMaxSide = 32767;
constexpr int64_t kBytesAnElement = 5;  // the loader's colour (4) and index (1) arrays

bool StartsWith(Bytes bytes, const char* signature, size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), signature, length) == 0;
}
}  // namespace

InputFormat DetectInputFormat(Bytes bytes) {
    if (StartsWith(bytes, "\x89PNG\r\n\x1a\n", 8)) return InputFormat::Png;
    if (StartsWith(bytes, "\xff\xd8\xff", 3)) return InputFormat::Jpeg;
    if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6)) return InputFormat::Gif;
    if (StartsWith(bytes, "BM", 2)) return InputFormat::Bmp;
    return InputFormat::None;
}

const char* InputFormatName(InputFormat format) {
    switch (format) {
    case InputFormat::Png: return "PNG";
    case InputFormat::Jpeg: return "JPEG";
    case InputFormat::Gif: return "GIF";
    case InputFormat::Bmp: return "BMP";
    case InputFormat::None: break;
    }
    return "unknown";
}

void CheckInputSize(int64_t width, int64_t height, int64_t byteBudget) {
    if (width < 1 || height < 1) throw InputError("picture has no pixels");
    if (width > kMaxSide || height > kMaxSide)
        throw InputError("picture of " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels: an ILBM is at most 32767 wide and high");
    if ((width + 1) * (height + 1) * kBytesAnElement > byteBudget)
        throw InputError("picture of " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels is over the load budget");
}

int32_t PlanesForColours(size_t colours) {
    int32_t planes = 1;
    while (planes < 8 && (size_t{1} << planes) < colours) ++planes;
    return planes;
}

void CoverEveryIndex(encode::IndexedPicture& picture) {
    uint8_t highest = 0;
    for (const uint8_t index : picture.Indices) highest = std::max(highest, index);
    picture.Planes = std::max(picture.Planes, PlanesForColours(size_t{highest} + 1));
    picture.Colours.resize(std::max(picture.Colours.size(), size_t{1} << picture.Planes));
}

void ColoursFromIndices(InputPicture& picture) {
    const encode::IndexedPicture& indexed = *picture.Indexed;
    encode::TrueColourPicture& colours = picture.Colours;
    colours.Width = indexed.Width;
    colours.Height = indexed.Height;
    colours.Rgb.resize(indexed.Indices.size() * 3);
    for (size_t i = 0; i < indexed.Indices.size(); ++i) {
        const uint8_t index = indexed.Indices[i];
        const encode::Rgb c = index < indexed.Colours.size() ? indexed.Colours[index] : encode::Rgb{};
        colours.Rgb[3 * i] = c.R;
        colours.Rgb[3 * i + 1] = c.G;
        colours.Rgb[3 * i + 2] = c.B;
    }
}

InputPicture ReadInputPicture(Bytes bytes, int64_t byteBudget) {
    switch (DetectInputFormat(bytes)) {
    case InputFormat::Png: return ReadPng(bytes, byteBudget);
    case InputFormat::Jpeg: return ReadJpeg(bytes, byteBudget);
    case InputFormat::Gif: return ReadGif(bytes, byteBudget);
    case InputFormat::Bmp: return ReadBmp(bytes, byteBudget);
    case InputFormat::None: break;
    }
    throw InputError("not a PNG, JPEG, GIF or BMP picture");
}

}  // namespace planora::input
