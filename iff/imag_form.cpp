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
// The IHDR words are read on into whatever follows a short chunk, as the
// ILBM chunk handlers read.
#include "iff/imag_form.h"

#include <string>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

ImagHeader ReadImagHeader(ByteSpan file, int32_t paletteEntries) {
    ImagHeader imag;
    ByteReader in(file);
    ChunkWalk walk(GroupBody(file));
    for (Chunk chunk; walk.Next(chunk);) {
        const int64_t data = kGroupHeaderBytes + chunk.DataStart();
        in.Seek(data);
        if (chunk.Id == ChunkId("IHDR")) {
            imag.Width = int32_t(in.Word());
            imag.LineBytes = int32_t(in.Word());
            imag.Height = int32_t(in.Word());
            imag.Model = int32_t(in.Word());
            imag.Depth = int32_t(in.Word());
            imag.HasHeader = true;
        } else if (chunk.Id == ChunkId("PLTE")) {
            const int32_t first = int32_t(in.Word()), count = int32_t(in.Word());
            for (int32_t i = 0; i < count && first + i < paletteEntries && 4 + 3 * i + 3 <= int64_t{chunk.Length}; ++i) {
                const uint32_t red = in.Byte(), green = in.Byte(), blue = in.Byte();
                imag.Colours.push_back({first + i, (red << 16) | (green << 8) | blue});
            }
        } else if (chunk.Id == ChunkId("IDAT") && !imag.HasPixels) {
            imag.HasPixels = true;
            imag.Pixels = in.Slice(data, int64_t{chunk.Length});
        }
    }
    return imag;
}

uint8_t ImagIndex(ByteSpan row, int32_t x, int32_t model) {
    const size_t at = size_t(model == kImagClut4 ? x / 2 : x);
    const uint8_t byte = at < row.size() ? row[at] : 0;
    if (model == kImagClut4) return (x & 1) ? byte & 0xF : byte >> 4;
    return model == kImagClut7 ? byte & 0x7F : byte;
}

int16_t LoadImagForm(PictureContext& pic) {
    const ByteReader file(pic.FileBytes());
    pic.IlbmInfo = IlbmInfoRecord{.FormSize = ConvertToLong(file.LongAt(4))};
    pic.FormType = ChunkIdText(file.LongAt(8));
    IlbmInfoRecord& info = pic.IlbmInfo;

    const ImagHeader imag = ReadImagHeader(file.Bytes(), kPaletteEntries);
    for (const ImagColour& c : imag.Colours) pic.Palette[size_t(c.Index)] = pic.FilePalette[size_t(c.Index)] = c.Rgb;
    if (imag.HasHeader) {
        info.Width = info.PageWidth = imag.Width;
        info.Height = info.PageHeight = imag.Height;
        info.Bitplanes = imag.Depth;
    }
    if (!imag.HasHeader) throw RunTimeError(kInvalidFileFormat, "Invalid file format: FORM IMAG without an IHDR chunk");
    const int32_t model = imag.Model;
    if (model != kImagClut8 && model != kImagClut7 && model != kImagClut4)
        throw RunTimeError(kInvalidFileFormat,
                           "Invalid file format: FORM IMAG model " + std::to_string(model) + " is not supported");

    pic.AllocateImages();
    if (imag.HasPixels) {
        const ByteReader pixels(imag.Pixels);
        const size_t stride = size_t(pic.ImageStride());
        for (int32_t y = 0; y < info.Height; ++y) {
            const ByteSpan row = pixels.Slice(int64_t{y} * imag.LineBytes, imag.LineBytes);
            const size_t start = size_t(y + 1) * stride;
            for (int32_t x = 0; x < info.Width; ++x) {
                const uint8_t index = ImagIndex(row, x, model);
                pic.ChunkyImage[start + size_t(x)] = index;
                pic.ColourImage[start + size_t(x)] = index;
            }
        }
    }
    info.MapAfterLoad = -1;
    pic.IFF_Show_Image_info();
    pic.Iff_PalleteMap_Image();
    pic.PictureLoaded = 1;
    return 1;
}

}  // namespace planora
