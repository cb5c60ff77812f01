// IlbmBuilder: assembles IFF ILBM files in memory so that every test shows
// its input.
//
// An IFF file is "FORM", a big-endian 32-bit length, a form type ("ILBM") and
// then chunks: a 4-character identifier, a 32-bit length, the data and a pad
// byte when the length is odd. The builder keeps the chunks in the order they
// were added and computes the FORM length (form type plus chunks) unless a
// test overrides it. The BODY helper turns a chunky picture (one palette index
// per pixel) into interleaved bitplane rows: for every image row, one plane row
// per plane with plane 0 the least significant bit of the index, bit 7 of a
// byte the leftmost pixel, rows padded to whole 16-bit words, an optional mask
// plane row after the bitplanes, each plane row stored raw or ByteRun1-packed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace planora::test {

using Buf = std::vector<uint8_t>;

// All BMHD fields in file order. Words are written as 16-bit two's complement.
struct BmhdFields {
    int32_t Width = 0, Height = 0, Xpos = 0, Ypos = 0;
    uint8_t Bitplanes = 0, Masking = 0, Packtype = 0, Pad1 = 0;
    int32_t TransparentColour = 0;
    uint8_t XAspectRatio = 0, YAspectRatio = 0;
    int32_t PageWidth = 0, PageHeight = 0;
};

// A picture as palette indices, row-major from the top-left pixel.
struct IndexPicture {
    int32_t Width = 0, Height = 0;
    Buf Pixels;  // Width * Height entries

    IndexPicture() = default;
    IndexPicture(int32_t w, int32_t h, uint8_t fill = 0) : Width(w), Height(h), Pixels(size_t(w) * size_t(h), fill) {}
    IndexPicture(int32_t w, int32_t h, Buf pixels) : Width(w), Height(h), Pixels(std::move(pixels)) {}
    uint8_t& At(int32_t x, int32_t y) { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
    uint8_t At(int32_t x, int32_t y) const { return Pixels[size_t(y) * size_t(Width) + size_t(x)]; }
};

enum class Packing { Raw, ByteRun1 };

struct BodyOptions {
    int Planes = 0;
    Packing Compression = Packing::Raw;
    // Adds one mask plane row of MaskByte after the bitplane rows of every
    // image row (BMHD Masking 1), so that a decoder that takes the mask for a
    // bitplane gets visibly wrong pixels.
    bool MaskPlane = false;
    uint8_t MaskByte = 0xFF;
};

class IlbmBuilder {
public:
    // Form type written after the FORM length; "ILBM" by default.
    IlbmBuilder& FormType(std::string type) { formType_ = std::move(type); return *this; }
    // Replaces the computed FORM length.
    IlbmBuilder& FormLength(uint32_t length) { formLength_ = length; return *this; }
    // A chunk with the given identifier and data; a pad byte follows odd-length data.
    IlbmBuilder& Chunk(const std::string& id, const Buf& data);

    IlbmBuilder& Bmhd(const BmhdFields& f);
    // The common case: size, planes, packing; every other field 0.
    IlbmBuilder& Bmhd(int32_t w, int32_t h, int planes, uint8_t packtype = 0, uint8_t masking = 0) {
        return Bmhd({.Width = w, .Height = h, .Bitplanes = uint8_t(planes), .Masking = masking, .Packtype = packtype});
    }
    // CMAP of RGB24 colours, 3 bytes each.
    IlbmBuilder& Cmap(const std::vector<uint32_t>& rgb24);
    IlbmBuilder& Camg(uint32_t modeId);
    // CTBL of big-endian 0x0RGB words, 16 per picture line.
    IlbmBuilder& Ctbl(const std::vector<uint16_t>& words);
    // SHAM: version word 0, then big-endian 0x0RGB words, 16 per palette line.
    IlbmBuilder& Sham(const std::vector<uint16_t>& words);
    // PCHG chunk with the given data (PchgData below).
    IlbmBuilder& Pchg(const Buf& data) { return Chunk("PCHG", data); }
    IlbmBuilder& Body(const IndexPicture& picture, const BodyOptions& options);
    // BODY with the given bytes as they are.
    IlbmBuilder& Body(const Buf& bytes) { return Chunk("BODY", bytes); }

    // The whole file.
    Buf Bytes() const;
    // Writes the whole file to path (throws std::runtime_error on failure).
    void WriteTo(const std::string& path) const;

private:
    std::string formType_ = "ILBM";
    std::optional<uint32_t> formLength_;
    Buf chunks_;
};

// ---- Relatives of the planar BODY ------------------------------------------
// PBM BODY: for every row, one index byte per pixel, padded to an even
// length, each row stored raw or ByteRun1-packed.
Buf EncodePbmBody(const IndexPicture& picture, Packing compression);
// ACBM ABIT data: plane 0 of every row (top row first), then plane 1, ...
Buf EncodeAbit(const IndexPicture& picture, int planes);
// Deep ILBM BODY (raw or ByteRun1): RGB24 (and, with 32 planes, alpha in the
// top byte of each 0xAARRGGBB value) as 24 or 32 interleaved bitplanes,
// planes 0-7 red (plane 0 least significant), 8-15 green, 16-23 blue, 24-31
// alpha. Pixels are row-major, width * height entries.
Buf EncodeDeepBody(int32_t width, int32_t height, const std::vector<uint32_t>& argb, int planes, Packing compression);

// ---- PCHG palette changes ----------------------------------------------------
// One changed line: small changes are words 0xIRGB, Low for registers I
// (0-15) and High for registers 16 + I; big changes set Register to 8-bit
// components (stored in the file as alpha, red, blue, green).
struct PchgBigChange {
    uint16_t Register = 0;
    uint8_t Alpha = 0, Red = 0, Green = 0, Blue = 0;
};
struct PchgLine {
    int32_t Line = 0;  // picture line, StartLine .. StartLine + LineCount - 1
    std::vector<uint16_t> Low, High;
    std::vector<PchgBigChange> Big;
};
struct PchgOptions {
    bool BigChanges = false;  // Flags 0x02 instead of 0x01
    int32_t StartLine = 0, LineCount = 0;
    bool Huffman = false;  // Compression 1
};
// The whole PCHG chunk data: the 20-byte header (ChangedLines, MinReg 0,
// MaxReg 255, MaxChanges and TotalChanges from the lines), the line mask in
// whole longwords and the lines' changes; with Huffman, the compression
// header, a tree (root last) and the packed bits of that data.
Buf PchgData(const PchgOptions& options, const std::vector<PchgLine>& lines);
// Writes bytes to a file (throws std::runtime_error on failure) and reads a
// whole file (empty when it cannot be read).
void WriteBytes(const std::string& path, const Buf& bytes);
Buf ReadBytes(const std::string& path);

}  // namespace planora::test
