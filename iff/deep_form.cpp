// FORM DEEP (TVPaint's true-colour pictures): the chunks before the pixels.
//
//   DGBL  display width, height (words), compression (word: 0 none,
//         1 run-length, 5 TVDC delta), x and y aspect (bytes)
//   DPEL  element count (long), then per element its type and bit depth
//         (words); types 1 red, 2 green, 3 blue, 4 alpha (TVPaint writes
//         alpha as 17 too)
//   DLOC  width, height, x, y of the picture (words); without it the DGBL size
//   TVDC  16 signed words: the deltas of compression 5
//   DBOD  the pixels (decode/deep_form_body.cpp)
//
// Pixels are chunky: each pixel's elements one after another in DPEL order,
// rows from the top with no padding. Elements of 8 bits are read as they are,
// of 16 bits by their high byte. Pictures with other elements (YCM, Z
// buffers ...) or depths fail with a message that names what was found.
//
// The words of a chunk are read on into whatever follows it when the chunk
// is shorter than they need, as the ILBM chunk handlers read.
#include "iff/deep_form.h"

#include <algorithm>
#include <string>

#include "decode/deep_form_body.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
constexpr uint16_t kRed = 1, kGreen = 2, kBlue = 3, kAlpha = 4, kTvPaintAlpha = 17;

[[noreturn]] void Unsupported(const std::string& what) {
    throw RunTimeError(kInvalidFileFormat, "Invalid file format: FORM DEEP " + what + " is not supported");
}

// Only red, green, blue and one alpha element of 8 or 16 bits are
// understood, with compression 0, 1 or 5 (of 8-bit elements). Returns the
// bits of a pixel.
int32_t CheckLayout(const DeepHeader& deep) {
    int32_t bits = 0;
    int seen[4] = {0, 0, 0, 0};
    for (const DeepElement& e : deep.Elements) {
        const int slot = e.Type == kRed ? 0 : e.Type == kGreen ? 1 : e.Type == kBlue ? 2
                       : (e.Type == kAlpha || e.Type == kTvPaintAlpha) ? 3 : -1;
        if (slot < 0) Unsupported("element type " + std::to_string(e.Type));
        if (e.Bits != 8 && e.Bits != 16) Unsupported("element depth " + std::to_string(e.Bits));
        ++seen[slot];
        bits += e.Bits;
    }
    if (seen[0] != 1 || seen[1] != 1 || seen[2] != 1 || seen[3] > 1)
        Unsupported("element layout of " + std::to_string(deep.Elements.size()) + " elements");
    const int32_t compression = deep.Compression;
    if (compression != 0 && compression != 1 && compression != 5) Unsupported("compression " + std::to_string(compression));
    if (compression == 5 && bits != 8 * int32_t(deep.Elements.size())) Unsupported("TVDC compression of 16-bit elements");
    return bits;
}
}  // namespace

DeepHeader ReadDeepHeader(ByteSpan file) {
    DeepHeader deep;
    ByteReader in(file);
    ChunkWalk walk(GroupBody(file));
    for (Chunk chunk; walk.Next(chunk);) {
        const int64_t data = kGroupHeaderBytes + chunk.DataStart();
        in.Seek(data);
        if (chunk.Id == ChunkId("DGBL")) {
            const int32_t width = int32_t(in.Word()), height = int32_t(in.Word());
            deep.Compression = int32_t(in.Word());
            deep.XAspect = in.Byte();
            deep.YAspect = in.Byte();
            if (!deep.HasLocation) deep.Width = width, deep.Height = height;
            deep.PageWidth = width, deep.PageHeight = height;
            deep.HasGlobals = true;
        } else if (chunk.Id == ChunkId("DPEL")) {
            // Each element takes 4 bytes; the count cannot claim more than the
            // chunk holds, nor more than the file has left.
            const int64_t held = std::min<int64_t>(chunk.Length, in.Size() - data);
            const uint32_t count = uint32_t(std::min<int64_t>(in.Long(), std::max<int64_t>(held, 0) / 4));
            deep.Elements.clear();
            for (uint32_t i = 0; i < count; ++i) {
                const uint16_t type = uint16_t(in.Word());
                deep.Elements.push_back({type, uint16_t(in.Word())});
            }
        } else if (chunk.Id == ChunkId("DLOC")) {
            deep.Width = int32_t(in.Word());
            deep.Height = int32_t(in.Word());
            deep.X = in.SignedWord();
            deep.Y = in.SignedWord();
            deep.HasLocation = true;
        } else if (chunk.Id == ChunkId("TVDC")) {
            for (size_t i = 0; i < deep.Deltas.size() && 2 * i + 2 <= chunk.Length; ++i)
                deep.Deltas[i] = int16_t(in.SignedWord());
        } else if (chunk.Id == ChunkId("DBOD") && !deep.HasBody) {
            deep.HasBody = true;
            deep.Body = in.Slice(data, int64_t{chunk.Length});
        }
    }
    return deep;
}

int16_t LoadDeepForm(PictureContext& pic) {
    IlbmInfoRecord& info = pic.IlbmInfo;
    const ByteReader file(pic.FileBytes());
    info.FormSize = ConvertToLong(file.LongAt(4));
    pic.FormType = ChunkIdText(file.LongAt(8));
    info.DisplayMode = 0;
    info.ModeID = 0;
    info.Bitplanes = info.Masking = 0;
    info.TransparentColour = 0;
    info.MapAfterLoad = 0;

    const DeepHeader deep = ReadDeepHeader(file.Bytes());
    if (deep.HasGlobals || deep.HasLocation) info.Width = deep.Width, info.Height = deep.Height;
    info.PageWidth = deep.PageWidth, info.PageHeight = deep.PageHeight;
    info.Xpos = deep.X, info.Ypos = deep.Y;
    info.Packtype = deep.Compression;
    info.XAspectRatio = deep.XAspect, info.YAspectRatio = deep.YAspect;
    if (!deep.HasGlobals) throw RunTimeError(kInvalidFileFormat, "Invalid file format: FORM DEEP without a DGBL chunk");
    info.Bitplanes = CheckLayout(deep);

    pic.Iff_Create_P2C_Word_Table();
    pic.AllocateImages();
    if (deep.HasBody) DecodeDeepFormBody(pic, deep);
    pic.IFF_Show_Image_info();
    pic.PictureLoaded = 1;
    return 1;
}

}  // namespace planora
