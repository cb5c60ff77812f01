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
#include <algorithm>

#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

namespace {
constexpr uint16_t kRed = 1, kGreen = 2, kBlue = 3, kAlpha = 4, kTvPaintAlpha = 17;

[[noreturn]] void Unsupported(const std::string& what) {
    throw RunTimeError(kInvalidFileFormat, "Invalid file format: FORM DEEP " + what + " is not supported");
}
}  // namespace

int16_t PictureContext::LoadDeepForm() {
    CachePos = 4;
    IlbmInfo.FormSize = ConvertToLong(Iff_Read_Long());
    FormType = IFF_Get_String();
    IlbmInfo.DisplayMode = 0;
    IlbmInfo.ModeID = 0;
    IlbmInfo.Bitplanes = IlbmInfo.Masking = IlbmInfo.Packtype = 0;
    IlbmInfo.Xpos = IlbmInfo.Ypos = IlbmInfo.TransparentColour = 0;
    IlbmInfo.XAspectRatio = IlbmInfo.YAspectRatio = IlbmInfo.PageWidth = IlbmInfo.PageHeight = 0;
    IlbmInfo.MapAfterLoad = 0;
    DeepElements.clear();
    DeepDeltas.fill(0);

    bool header = false, location = false;
    int64_t bodyStart = -1;
    uint32_t bodyLength = 0;
    ForEachChunkInForm([&](const std::string& id, uint32_t length) {
        const int64_t data = CachePos;
        if (id == "DGBL") {
            const int32_t width = Iff_Read_Word() & 0xFFFF, height = Iff_Read_Word() & 0xFFFF;
            IlbmInfo.Packtype = Iff_Read_Word() & 0xFFFF;
            IlbmInfo.XAspectRatio = Iff_Read_Byte();
            IlbmInfo.YAspectRatio = Iff_Read_Byte();
            if (!location) IlbmInfo.Width = width, IlbmInfo.Height = height;
            IlbmInfo.PageWidth = width, IlbmInfo.PageHeight = height;
            header = true;
        } else if (id == "DPEL") {
            // Each element takes 4 bytes; the count cannot claim more than the
            // chunk holds, nor more than the file has left.
            const int64_t held = std::min<int64_t>(length, int64_t(CachedLength()) - data);
            const uint32_t count = uint32_t(std::min<int64_t>(Iff_Read_Long(), std::max<int64_t>(held, 0) / 4));
            DeepElements.clear();
            for (uint32_t i = 0; i < count; ++i) {
                const uint16_t type = uint16_t(Iff_Read_Word());
                DeepElements.push_back({type, uint16_t(Iff_Read_Word())});
            }
        } else if (id == "DLOC") {
            IlbmInfo.Width = Iff_Read_Word() & 0xFFFF;
            IlbmInfo.Height = Iff_Read_Word() & 0xFFFF;
            IlbmInfo.Xpos = Iff_Read_Word();
            IlbmInfo.Ypos = Iff_Read_Word();
            location = true;
        } else if (id == "TVDC") {
            for (size_t i = 0; i < DeepDeltas.size() && 2 * i + 2 <= length; ++i) DeepDeltas[i] = int16_t(Iff_Read_Word());
        } else if (id == "DBOD" && bodyStart < 0) {
            bodyStart = data;
            bodyLength = length;
        }
    });
    if (!header) throw RunTimeError(kInvalidFileFormat, "Invalid file format: FORM DEEP without a DGBL chunk");

    // Only red, green, blue and one alpha element of 8 or 16 bits are understood.
    int32_t bits = 0;
    int seen[4] = {0, 0, 0, 0};
    for (const DeepElement& e : DeepElements) {
        const int slot = e.Type == kRed ? 0 : e.Type == kGreen ? 1 : e.Type == kBlue ? 2
                       : (e.Type == kAlpha || e.Type == kTvPaintAlpha) ? 3 : -1;
        if (slot < 0) Unsupported("element type " + std::to_string(e.Type));
        if (e.Bits != 8 && e.Bits != 16) Unsupported("element depth " + std::to_string(e.Bits));
        ++seen[slot];
        bits += e.Bits;
    }
    if (seen[0] != 1 || seen[1] != 1 || seen[2] != 1 || seen[3] > 1)
        Unsupported("element layout of " + std::to_string(DeepElements.size()) + " elements");
    const int32_t compression = IlbmInfo.Packtype;
    if (compression != 0 && compression != 1 && compression != 5) Unsupported("compression " + std::to_string(compression));
    if (compression == 5 && bits != 8 * int32_t(DeepElements.size())) Unsupported("TVDC compression of 16-bit elements");
    IlbmInfo.Bitplanes = bits;

    Iff_Create_P2C_Word_Table();
    AllocateImages();
    if (bodyStart >= 0) {
        BeforeRowsChange();
        CachePos = bodyStart;
        DecodeDeepFormBody(bodyLength);
    }
    IFF_Show_Image_info();
    PictureLoaded = 1;
    return 1;
}

}  // namespace planora
