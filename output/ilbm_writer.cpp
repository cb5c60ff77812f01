#include "output/ilbm_writer.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <stdexcept>

#include "output/byterun1_packer.h"

namespace planora {

namespace {
void PutWord(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value >> 8));
    out.push_back(uint8_t(value));
}

void PutLong(std::vector<uint8_t>& out, uint32_t value) {
    PutWord(out, value >> 16);
    PutWord(out, value & 0xffff);
}

void PutLongAt(std::vector<uint8_t>& out, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(value >> (24 - 8 * i));
}

// Starts a chunk; returns where its length goes.
size_t BeginChunk(std::vector<uint8_t>& out, const char* id) {
    out.insert(out.end(), id, id + 4);
    PutLong(out, 0);
    return out.size() - 4;
}

void EndChunk(std::vector<uint8_t>& out, size_t lengthAt) {
    PutLongAt(out, lengthAt, uint32_t(out.size() - lengthAt - 4));
    if (out.size() % 2) out.push_back(0);
}

void PutBitmapHeader(std::vector<uint8_t>& out, const encode::IndexedPicture& picture,
                     const encode::IlbmExtras& extras, IlbmCompression compression) {
    const size_t at = BeginChunk(out, "BMHD");
    PutWord(out, uint32_t(picture.Width));
    PutWord(out, uint32_t(picture.Height));
    PutLong(out, 0);  // x, y
    out.push_back(uint8_t(picture.Planes));
    out.push_back(extras.TransparentIndex ? 2 : 0);
    out.push_back(compression == IlbmCompression::ByteRun1 ? 1 : 0);
    out.push_back(0);
    PutWord(out, extras.TransparentColour);
    out.push_back(extras.XAspect ? extras.XAspect : 1);
    out.push_back(extras.YAspect ? extras.YAspect : 1);
    PutWord(out, uint32_t(extras.PageWidth > 0 ? extras.PageWidth : picture.Width));
    PutWord(out, uint32_t(extras.PageHeight > 0 ? extras.PageHeight : picture.Height));
    EndChunk(out, at);
}

void PutBody(std::vector<uint8_t>& out, const encode::IndexedPicture& picture, IlbmCompression compression) {
    const size_t at = BeginChunk(out, "BODY");
    const size_t rowBytes = size_t(IlbmRowBytes(picture.Width));
    std::vector<uint8_t> planes;
    for (int32_t y = 0; y < picture.Height; ++y) {
        SplitRowIntoPlanes(picture, y, planes);
        for (int32_t p = 0; p < picture.Planes; ++p) {
            const std::span<const uint8_t> row(planes.data() + size_t(p) * rowBytes, rowBytes);
            if (compression == IlbmCompression::ByteRun1)
                PackByteRun1(row, out);
            else
                out.insert(out.end(), row.begin(), row.end());
        }
    }
    EndChunk(out, at);
}

void PutCopiedChunk(std::vector<uint8_t>& out, const encode::CopiedChunk& chunk) {
    const size_t at = BeginChunk(out, std::string(chunk.Id.data(), 4).c_str());
    out.insert(out.end(), chunk.Data.begin(), chunk.Data.end());
    EndChunk(out, at);
}

void CheckPicture(const encode::IndexedPicture& picture) {
    if (picture.Width < 1 || picture.Height < 1 || picture.Width > kMaxIlbmSide || picture.Height > kMaxIlbmSide)
        throw std::invalid_argument("an ILBM is 1 to 32767 pixels wide and high");
    if (picture.Planes < 1 || picture.Planes > 8) throw std::invalid_argument("an ILBM has 1 to 8 planes");
    if (picture.Indices.size() < size_t(picture.Width) * size_t(picture.Height))
        throw std::invalid_argument("fewer indices than pixels");
}
}  // namespace

int32_t IlbmRowBytes(int32_t width) { return (width + 15) / 16 * 2; }

void SplitRowIntoPlanes(const encode::IndexedPicture& picture, int32_t y, std::vector<uint8_t>& planes) {
    const size_t rowBytes = size_t(IlbmRowBytes(picture.Width));
    planes.assign(rowBytes * size_t(picture.Planes), 0);
    const uint8_t* indices = picture.Indices.data() + size_t(y) * size_t(picture.Width);
    for (int32_t x = 0; x < picture.Width; ++x) {
        const uint8_t bit = uint8_t(0x80 >> (x & 7));
        const size_t byte = size_t(x >> 3);
        for (int32_t p = 0; p < picture.Planes; ++p)
            if (indices[x] >> p & 1) planes[size_t(p) * rowBytes + byte] |= bit;
    }
}

std::vector<uint8_t> BuildIlbmFile(const encode::IndexedPicture& picture, const encode::IlbmExtras& extras,
                                   IlbmCompression compression) {
    CheckPicture(picture);
    std::vector<uint8_t> out;
    const size_t formAt = BeginChunk(out, "FORM");
    out.insert(out.end(), {'I', 'L', 'B', 'M'});
    PutBitmapHeader(out, picture, extras, compression);
    const size_t before = std::min(extras.ChunksBeforeColourMap, extras.Chunks.size());
    for (size_t i = 0; i < before; ++i) PutCopiedChunk(out, extras.Chunks[i]);
    size_t at = BeginChunk(out, "CMAP");
    for (const encode::Rgb& colour : picture.Colours) out.insert(out.end(), {colour.R, colour.G, colour.B});
    EndChunk(out, at);
    if (picture.DisplayMode != 0 || extras.DisplayModeChunk) {
        at = BeginChunk(out, "CAMG");
        PutLong(out, picture.DisplayMode);
        EndChunk(out, at);
    }
    for (size_t i = before; i < extras.Chunks.size(); ++i) PutCopiedChunk(out, extras.Chunks[i]);
    PutBody(out, picture, compression);
    PutLongAt(out, formAt, uint32_t(out.size() - formAt - 4));
    return out;
}

}  // namespace planora
