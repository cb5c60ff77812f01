// GIF through giflib, Debian's GIF library. Only the first frame is read, its
// records one after another (never the whole file at once), and placed on
// the logical screen filled with the background colour; the indices stay.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "input/format_readers.h"

namespace planora::input {

namespace {
struct Source {
    Bytes bytes;
    size_t position = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* out, int wanted) {
    Source* source = static_cast<Source*>(gif->UserData);
    const size_t count = std::min(size_t(std::max(wanted, 0)), source->bytes.size() - source->position);
    std::memcpy(out, source->bytes.data() + source->position, count);
    source->position += count;
    return int(count);
}

void CloseGif(GifFileType* gif) {
    int error = 0;
    DGifCloseFile(gif, &error);
}
using Gif = std::unique_ptr<GifFileType, decltype(&CloseGif)>;

[[noreturn]] void Fail(int error) {
    const char* text = GifErrorString(error);
    throw InputError(std::string("GIF: ") + (text ? text : "damaged file"));
}

void Check(int result, const GifFileType* gif) {
    if (result != GIF_OK) Fail(gif->Error);
}

void SkipExtension(GifFileType* gif) {
    int code = 0;
    GifByteType* block = nullptr;
    Check(DGifGetExtension(gif, &code, &block), gif);
    while (block) Check(DGifGetExtensionNext(gif, &block), gif);
}

// The frame's rows, in file order: interlaced frames come in four passes.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> rows;
    if (!interlaced) {
        for (int y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
    return rows;
}

void ReadFrame(GifFileType* gif, encode::IndexedPicture& picture, int64_t byteBudget) {
    Check(DGifGetImageDesc(gif), gif);
    const GifImageDesc& frame = gif->Image;
    CheckInputSize(frame.Width, frame.Height, byteBudget);
    const ColorMapObject* map = frame.ColorMap ? frame.ColorMap : gif->SColorMap;
    if (!map || map->ColorCount < 1) throw InputError("GIF: the picture has no colour map");
    picture.Planes = PlanesForColours(size_t(map->ColorCount));
    picture.Colours.assign(size_t{1} << picture.Planes, {});
    for (int i = 0; i < map->ColorCount && i < 256; ++i)
        picture.Colours[size_t(i)] = {map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue};

    std::vector<GifPixelType> line(size_t(frame.Width));
    for (const int y : RowOrder(frame.Height, frame.Interlace)) {
        Check(DGifGetLine(gif, line.data(), frame.Width), gif);
        const int64_t top = int64_t{frame.Top} + y;
        if (top < 0 || top >= picture.Height) continue;
        for (int x = 0; x < frame.Width; ++x) {
            const int64_t left = int64_t{frame.Left} + x;
            if (left >= 0 && left < picture.Width) picture.Indices[size_t(top) * size_t(picture.Width) + size_t(left)] = line[size_t(x)];
        }
    }
}
}  // namespace

InputPicture ReadGif(Bytes bytes, int64_t byteBudget) {
    Source source{bytes};
    int error = 0;
    Gif gif(DGifOpen(&source, ReadBytes, &error), CloseGif);
    if (!gif) Fail(error);
    CheckInputSize(gif->SWidth, gif->SHeight, byteBudget);

    InputPicture picture;
    encode::IndexedPicture& indexed = picture.Indexed.emplace();
    indexed.Width = gif->SWidth;
    indexed.Height = gif->SHeight;
    // The background is an index of the global colour map, when there is one.
    const int background = gif->SColorMap && gif->SBackGroundColor < gif->SColorMap->ColorCount ? gif->SBackGroundColor : 0;
    indexed.Indices.assign(size_t(indexed.Width) * size_t(indexed.Height), uint8_t(background));
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        Check(DGifGetRecordType(gif.get(), &record), gif.get());
        if (record == IMAGE_DESC_RECORD_TYPE) {
            ReadFrame(gif.get(), indexed, byteBudget);
            break;
        }
        if (record == EXTENSION_RECORD_TYPE)
            SkipExtension(gif.get());
        else if (record == TERMINATE_RECORD_TYPE)
            throw InputError("GIF: the file holds no picture");
    }
    CoverEveryIndex(indexed);
    ColoursFromIndices(picture);
    return picture;
}

}  // namespace planora::input
