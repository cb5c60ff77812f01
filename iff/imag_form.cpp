// FORM IMAG (CD-i pictures), palette models only.
//
//   IHDR  width, line size in bytes, height, model, depth (words), then the
//         DYUV start values, unused here. Models: 1 RGB888, 2 RGB555, 3 DYUV,
//         4 CLUT8, 5 CLUT7, 6 CLUT4, 7 CLUT3, 8 RL7, 9 RL3
//   PLTE  first colour index and colour count (words), then R, G, B bytes
//   IDAT  rows of line-size bytes from the top: one index a byte (CLUT8,
//         CLUT7) or two, high nibble first (CLUT4)
//
// The indices go through the palette as an ordinary picture's do. The other
// models (true colour, DYUV, run-length) fail with a message naming the model.
#include <algorithm>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
constexpr int32_t kClut8 = 4, kClut7 = 5, kClut4 = 6;
}  // namespace

int16_t PictureContext::LoadImagForm() {
    CachePos = 4;
    IlbmInfo.FormSize = ConvertToLong(Iff_Read_Long());
    FormType = IFF_Get_String();
    IlbmInfo = IlbmInfoRecord{.FormSize = IlbmInfo.FormSize};
    bool header = false;
    int32_t lineBytes = 0, model = 0;
    int64_t bodyStart = -1, bodyLength = 0;
    ForEachChunkInForm([&](const std::string& id, uint32_t length) {
        const int64_t data = CachePos;
        if (id == "IHDR") {
            IlbmInfo.Width = IlbmInfo.PageWidth = Iff_Read_Word() & 0xFFFF;
            lineBytes = Iff_Read_Word() & 0xFFFF;
            IlbmInfo.Height = IlbmInfo.PageHeight = Iff_Read_Word() & 0xFFFF;
            model = Iff_Read_Word() & 0xFFFF;
            IlbmInfo.Bitplanes = Iff_Read_Word() & 0xFFFF;
            header = true;
        } else if (id == "PLTE") {
            const int32_t first = Iff_Read_Word() & 0xFFFF, count = Iff_Read_Word() & 0xFFFF;
            for (int32_t i = 0; i < count && first + i < kPaletteEntries && 4 + 3 * i + 3 <= int64_t{length}; ++i) {
                const uint32_t red = Iff_Read_Byte(), green = Iff_Read_Byte(), blue = Iff_Read_Byte();
                Palette[size_t(first + i)] = FilePalette[size_t(first + i)] = (red << 16) | (green << 8) | blue;
            }
        } else if (id == "IDAT" && bodyStart < 0) {
            bodyStart = data;
            bodyLength = length;
        }
    });
    if (!header) throw RunTimeError(kInvalidFileFormat, "Invalid file format: FORM IMAG without an IHDR chunk");
    if (model != kClut8 && model != kClut7 && model != kClut4)
        throw RunTimeError(kInvalidFileFormat,
                           "Invalid file format: FORM IMAG model " + std::to_string(model) + " is not supported");

    AllocateImages();
    if (bodyStart >= 0) {
        const int64_t bodyEnd = std::min<int64_t>(bodyStart + bodyLength, int64_t(CachedLength()));
        const uint8_t mask = model == kClut7 ? 0x7F : 0xFF;
        for (int32_t y = 0; y < IlbmInfo.Height; ++y) {
            const int64_t row = bodyStart + int64_t{y} * lineBytes;
            const size_t start = size_t(y + 1) * size_t(imageStride_);
            for (int32_t x = 0; x < IlbmInfo.Width; ++x) {
                const int64_t at = row + (model == kClut4 ? x / 2 : x);
                uint8_t index = at < bodyEnd && at < row + lineBytes ? ByteAt(at) : 0;
                index = model == kClut4 ? ((x & 1) ? index & 0xF : index >> 4) : index & mask;
                ChunkyImage[start + size_t(x)] = index;
                ColourImage[start + size_t(x)] = index;
            }
        }
    }
    IlbmInfo.MapAfterLoad = -1;
    IFF_Show_Image_info();
    Iff_PalleteMap_Image();
    PictureLoaded = 1;
    return 1;
}

}  // namespace planora
