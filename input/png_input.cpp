// PNG through libspng: small, fuzzed and with limits on chunk sizes, and it
// hands palette pictures over as their own indices (packed as in the file,
// which is unpacked here) as readily as it converts the others to RGB8.
#include <spng.h>

#include <memory>

#include "input/format_readers.h"

namespace planora::input {

namespace {
using Context = std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)>;

// Text chunks and the like are skipped; these bounds keep hostile ones cheap.
constexpr size_t kMaxChunkBytes = size_t{1} << 24;
constexpr size_t kMaxChunkCache = size_t{1} << 26;

void Check(int result) {
    if (result != 0) throw InputError(std::string("PNG: ") + spng_strerror(result));
}

encode::IndexedPicture ReadIndices(spng_ctx* ctx, const spng_ihdr& header) {
    spng_plte palette{};
    Check(spng_get_plte(ctx, &palette));
    size_t size = 0;
    Check(spng_decoded_image_size(ctx, SPNG_FMT_PNG, &size));
    std::vector<uint8_t> packed(size);
    Check(spng_decode_image(ctx, packed.data(), size, SPNG_FMT_PNG, 0));

    encode::IndexedPicture picture;
    picture.Width = int32_t(header.width);
    picture.Height = int32_t(header.height);
    picture.Planes = PlanesForColours(palette.n_entries);
    picture.Colours.resize(size_t{1} << picture.Planes);
    for (uint32_t i = 0; i < palette.n_entries && i < 256; ++i)
        picture.Colours[i] = {palette.entries[i].red, palette.entries[i].green, palette.entries[i].blue};
    const int depth = header.bit_depth;
    const size_t rowBytes = (size_t(header.width) * size_t(depth) + 7) / 8;
    picture.Indices.resize(size_t(header.width) * size_t(header.height));
    uint8_t* out = picture.Indices.data();
    for (uint32_t y = 0; y < header.height; ++y) {
        const uint8_t* row = packed.data() + size_t(y) * rowBytes;
        for (uint32_t x = 0; x < header.width; ++x) {
            const size_t bit = size_t(x) * size_t(depth);
            *out++ = uint8_t(row[bit / 8] >> (8 - depth - int(bit % 8)) & ((1 << depth) - 1));
        }
    }
    CoverEveryIndex(picture);
    return picture;
}
}  // namespace

InputPicture ReadPng(Bytes bytes, int64_t byteBudget) {
    Context ctx(spng_ctx_new(0), spng_ctx_free);
    if (!ctx) throw InputError("PNG: out of memory");
    Check(spng_set_chunk_limits(ctx.get(), kMaxChunkBytes, kMaxChunkCache));
    Check(spng_set_png_buffer(ctx.get(), bytes.data(), bytes.size()));
    spng_ihdr header{};
    Check(spng_get_ihdr(ctx.get(), &header));
    CheckInputSize(header.width, header.height, byteBudget);

    InputPicture picture;
    if (header.color_type == SPNG_COLOR_TYPE_INDEXED) {
        picture.Indexed = ReadIndices(ctx.get(), header);
        ColoursFromIndices(picture);
        return picture;
    }
    size_t size = 0;
    Check(spng_decoded_image_size(ctx.get(), SPNG_FMT_RGB8, &size));
    picture.Colours.Width = int32_t(header.width);
    picture.Colours.Height = int32_t(header.height);
    picture.Colours.Rgb.resize(size);
    Check(spng_decode_image(ctx.get(), picture.Colours.Rgb.data(), size, SPNG_FMT_RGB8, 0));
    return picture;
}

}  // namespace planora::input
