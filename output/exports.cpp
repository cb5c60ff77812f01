#include "output/exports.h"

#include <bit>
#include <new>

#include "decode/colour.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "output/safe_file.h"

namespace planora {

namespace {
constexpr int kMaxPaletteLines = 256;
}

std::vector<uint8_t> BuildRawRgbFile(const PictureContext& pic) {
    std::vector<uint8_t> file;
    try {
        file.resize(pic.ColourImage.size() * 4);
    } catch (const std::bad_alloc&) {
        throw RunTimeError(kOutOfMemory);
    }
    for (size_t i = 0; i < pic.ColourImage.size(); ++i)
        for (int b = 0; b < 4; ++b) file[4 * i + b] = uint8_t(pic.ColourImage[i] >> (8 * b));
    return file;
}

bool HasPaletteIndices(const PictureContext& pic) { return !pic.IsDeepPicture(); }

std::vector<uint8_t> BuildRawChunkyFile(const PictureContext& pic) {
    return {pic.ChunkyImage.begin(), pic.ChunkyImage.end()};
}

std::vector<uint8_t> BuildPaletteTextFile(const PictureContext& pic) {
    const int32_t planes = pic.IlbmInfo.Bitplanes;
    const int lines = planes >= 8 ? kMaxPaletteLines : (planes <= 0 ? 1 : 1 << planes);
    std::vector<uint8_t> file;
    file.reserve(size_t(lines) * 9);
    for (int i = 0; i < lines; ++i) {
        // Hex gives "$" and seven digits; the colour is the last six.
        const std::string digits = Hex(int32_t(pic.FilePalette[i]));
        file.push_back('$');
        file.insert(file.end(), digits.begin() + 2, digits.end());
        file.push_back('\r');
        file.push_back('\n');
    }
    return file;
}

void ExportRawRgb(const PictureContext& pic, const std::string& path) {
    if constexpr (std::endian::native == std::endian::little) {
        // The file is the array's own memory layout.
        WriteFileReplacing(path, reinterpret_cast<const uint8_t*>(pic.ColourImage.data()),
                           pic.ColourImage.size() * 4);
    } else {
        WriteFileReplacing(path, BuildRawRgbFile(pic));
    }
}

void ExportRawChunky(const PictureContext& pic, const std::string& path) {
    WriteFileReplacing(path, pic.ChunkyImage.data(), pic.ChunkyImage.size());
}

void ExportPaletteText(const PictureContext& pic, const std::string& path) {
    WriteFileReplacing(path, BuildPaletteTextFile(pic));
}

}  // namespace planora
