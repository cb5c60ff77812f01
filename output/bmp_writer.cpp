// 32-bit BMP, bottom-up:
//   offset 0  "BM", file size, 0, 0, pixel offset 54          (14 bytes)
//   offset 14 40, width, height, 1 plane, 32 bits, no compression,
//             image size, 0, 0, 0, 0                            (40 bytes)
//   offset 54 rows from the bottom line up, 4 bytes per pixel (B, G, R, 0),
//             no padding since every row is a multiple of 4 bytes
#include "output/bmp_writer.h"

#include <bit>
#include <cstring>
#include <memory>
#include <new>

#include "decode/picture_view.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"
#include "output/safe_file.h"

namespace planora {

namespace {
constexpr int32_t kHeaderBytes = kBitmapHeaderBytes;

// Little-endian field writer over the header buffer.
struct HeaderWriter {
    uint8_t* buffer;
    int32_t PutPos = 0;
    void Put_Word_LE(int32_t value) {
        buffer[PutPos] = uint8_t(value & 0xFF);
        buffer[PutPos + 1] = uint8_t((value & 0xFF00) >> 8);
        PutPos += 2;
    }
    void Put_Long_LE(int32_t value) {
        const uint32_t bits = static_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i) buffer[PutPos + i] = uint8_t(bits >> (8 * i));
        PutPos += 4;
    }
};

void PutPixelsLE(uint8_t* dest, const uint32_t* pixels, size_t count) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(dest, pixels, count * 4);
    } else {
        for (size_t i = 0; i < count; ++i)
            for (int b = 0; b < 4; ++b) dest[4 * i + b] = uint8_t(pixels[i] >> (8 * b));
    }
}

}  // namespace

size_t BitmapFileSize(const PictureContext& pic, int32_t BmpWidth, int32_t BmpHeight) {
    // Sizes are 32-bit signed fields of the format.
    const int64_t imageSize = int64_t{BmpHeight} * 4 * BmpWidth;
    if (imageSize + kHeaderBytes > INT32_MAX) throw RunTimeError(kOverflow);
    // Never read past the picture arrays.
    if (BmpWidth >= pic.ImageStride() || BmpHeight >= pic.ImageRows()) throw RunTimeError(kSubscriptOutOfRange);
    return size_t(imageSize + kHeaderBytes);
}

namespace {
// The 54 header bytes.
void AssembleHeader(int32_t BmpWidth, int32_t BmpHeight, uint8_t* file) {
    const int32_t imageSize = BmpHeight * 4 * BmpWidth;
    HeaderWriter header{file};
    header.Put_Word_LE(0x4D42);
    header.Put_Long_LE(imageSize + kHeaderBytes);
    header.Put_Long_LE(0);
    header.Put_Long_LE(kHeaderBytes);
    header.Put_Long_LE(40);
    header.Put_Long_LE(BmpWidth);
    header.Put_Long_LE(BmpHeight);
    header.Put_Word_LE(1);
    header.Put_Word_LE(32);
    header.Put_Long_LE(0);
    header.Put_Long_LE(imageSize);
    for (int i = 0; i < 4; ++i) header.Put_Long_LE(0);
}

// Writes the whole file into file, which holds BitmapFileSize bytes.
void AssembleBitmap(const PictureView& picture, int32_t BmpWidth, int32_t BmpHeight, uint8_t* file) {
    AssembleHeader(BmpWidth, BmpHeight, file);
    uint8_t* dest = file + kHeaderBytes;
    const size_t rowBytes = size_t(BmpWidth) * 4;
    for (int32_t y = BmpHeight; y >= 1; --y, dest += rowBytes) PutPixelsLE(dest, picture.Row(y - 1), size_t(BmpWidth));
}
}  // namespace

std::array<uint8_t, kBitmapHeaderBytes> BitmapHeader(int32_t BmpWidth, int32_t BmpHeight) {
    std::array<uint8_t, kBitmapHeaderBytes> header{};
    AssembleHeader(BmpWidth, BmpHeight, header.data());
    return header;
}

void AppendBitmapRows(const PictureContext& pic, int32_t fromRow, int32_t toRow, int32_t BmpWidth,
                      std::vector<FilePiece>& pieces) {
    const size_t rowBytes = size_t(BmpWidth) * 4;
    // Straight from the ColourImage, not through a PictureView: a stream
    // calls this while the decoder may still be making the alpha plane.
    for (int32_t y = fromRow; y >= toRow; --y)
        pieces.push_back(
            {reinterpret_cast<const uint8_t*>(&pic.ColourImage[size_t(y) * size_t(pic.ImageStride())]), rowBytes});
}

std::vector<uint8_t> BuildBitmapFile(const PictureContext& pic, int32_t BmpWidth, int32_t BmpHeight) {
    if (BmpHeight < 1 || BmpWidth < 1) return {};
    std::vector<uint8_t> file;
    try {
        file.resize(BitmapFileSize(pic, BmpWidth, BmpHeight));
    } catch (const std::bad_alloc&) {
        throw RunTimeError(kOutOfMemory);
    }
    AssembleBitmap(ViewOf(pic), BmpWidth, BmpHeight, file.data());
    return file;
}

std::vector<uint8_t> BuildBitmapFile(const PictureView& picture) {
    if (picture.Height < 1 || picture.Width < 1) return {};
    if (int64_t{picture.Height} * 4 * picture.Width + kHeaderBytes > INT32_MAX) throw RunTimeError(kOverflow);
    std::vector<uint8_t> file;
    try {
        file.resize(size_t(kHeaderBytes) + size_t(picture.Height) * size_t(picture.Width) * 4);
    } catch (const std::bad_alloc&) {
        throw RunTimeError(kOutOfMemory);
    }
    AssembleBitmap(picture, picture.Width, picture.Height, file.data());
    return file;
}

void SaveArrayAsBitMap(const PictureContext& pic, const std::string& Filename, int32_t BmpWidth,
                       int32_t BmpHeight) {
    if (BmpHeight < 1 || BmpWidth < 1) return;
    const size_t size = BitmapFileSize(pic, BmpWidth, BmpHeight);
    if constexpr (std::endian::native == std::endian::little) {
        // The ColourImage rows already hold the file's pixel bytes: write the
        // header and then the rows bottom-up straight from the picture, with
        // no copy of the pixels in between.
        const auto header = BitmapHeader(BmpWidth, BmpHeight);
        std::vector<FilePiece> pieces;
        pieces.reserve(size_t(BmpHeight) + 1);
        pieces.push_back({header.data(), header.size()});
        AppendBitmapRows(pic, BmpHeight, 1, BmpWidth, pieces);
        WriteFileReplacing(Filename, pieces);
    } else {
        std::unique_ptr<uint8_t[]> file(new (std::nothrow) uint8_t[size]);
        if (!file) throw RunTimeError(kOutOfMemory);
        AssembleBitmap(ViewOf(pic), BmpWidth, BmpHeight, file.get());
        WriteFileReplacing(Filename, file.get(), size);
    }
}

}  // namespace planora
