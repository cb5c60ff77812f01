#include "encode/keep_picture.h"

#include <algorithm>
#include <stdexcept>

#include "iff/byte_reader.h"
#include "iff/picture_context.h"

namespace planora::encode {

namespace {
// Earlier CMAP chunks too: a RAST between two CMAPs starts from the first.
constexpr uint32_t kCopiedChunks[] = {ChunkId("CMAP"), ChunkId("CRNG"), ChunkId("CCRT"), ChunkId("DRNG"), ChunkId("CTBL"),
                                      ChunkId("SHAM"), ChunkId("BEAM"), ChunkId("RAST"), ChunkId("PCHG")};

// The chunks in file order; the last CMAP leaves its place to the colour map
// as loaded.
void CopyChunks(const PictureContext& pic, IlbmExtras& extras) {
    std::vector<CopiedChunk>& chunks = extras.Chunks;
    const ByteSpan file = pic.FileBytes();
    if (int64_t(file.size()) < pic.FormStart + kGroupHeaderBytes) return;
    ChunkWalk walk(GroupBody(file, pic.FormStart));
    Chunk chunk;
    while (walk.Next(chunk)) {
        if (std::find(std::begin(kCopiedChunks), std::end(kCopiedChunks), chunk.Id) == std::end(kCopiedChunks))
            continue;
        const std::string id = ChunkIdText(chunk.Id);
        CopiedChunk& copy = chunks.emplace_back();
        std::copy_n(id.begin(), 4, copy.Id.begin());
        copy.Data.assign(chunk.Data.begin(), chunk.Data.end());
    }
    const auto last = std::find_if(chunks.rbegin(), chunks.rend(), [](const CopiedChunk& c) { return std::string(c.Id.data(), 4) == "CMAP"; });
    if (last == chunks.rend()) return;
    extras.ChunksBeforeColourMap = size_t(chunks.rend() - last) - 1;
    chunks.erase(std::next(last).base());
}

// The colour map entries the mode reads: 16 for HAM6 (and HAM5), 64 for
// HAM8 (and HAM7), 32 for Extra-Half-Brite, whose halves follow from them,
// else one a palette index.
size_t ColourMapEntries(const IlbmInfoRecord& info) {
    if (info.HamFlag == 1 && info.DisplayMode == 2) return 16;
    if (info.HamFlag == 1 && info.DisplayMode == 3) return 64;
    if (info.HalfBriteFlag == 1 && info.Bitplanes == 6) return 32;
    return size_t{1} << info.Bitplanes;
}
}  // namespace

bool CanKeep(const PictureContext& pic) {
    return !pic.IsDeepPicture() && pic.IlbmInfo.Bitplanes >= 1 && pic.IlbmInfo.Bitplanes <= 8;
}

KeptPicture KeepPicture(const PictureContext& pic) {
    if (!CanKeep(pic)) throw std::invalid_argument("the picture has no palette indices of 1 to 8 planes");
    const IlbmInfoRecord& info = pic.IlbmInfo;
    KeptPicture kept;
    IndexedPicture& out = kept.Picture;
    out.Width = info.Width;
    out.Height = info.Height;
    out.Planes = info.Bitplanes;
    out.Indices.resize(size_t(info.Width) * size_t(info.Height));
    // Picture row y is array row y + 1.
    for (int32_t y = 0; y < info.Height; ++y)
        for (int32_t x = 0; x < info.Width; ++x) out.Indices[size_t(y) * size_t(info.Width) + size_t(x)] = pic.ChunkyAt(x, y + 1);
    for (size_t i = 0; i < ColourMapEntries(info); ++i) {
        const uint32_t c = pic.Palette[i];
        out.Colours.push_back({uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c)});
    }
    if (info.DisplayMode != 0) out.DisplayMode = uint32_t(info.ModeID);

    IlbmExtras& extras = kept.Extras;
    extras.XAspect = uint8_t(info.XAspectRatio);
    extras.YAspect = uint8_t(info.YAspectRatio);
    extras.PageWidth = info.PageWidth;
    extras.PageHeight = info.PageHeight;
    extras.TransparentIndex = info.Masking == 2;
    extras.TransparentColour = uint16_t(info.TransparentColour);
    extras.DisplayModeChunk = info.DisplayMode != 0;
    CopyChunks(pic, extras);
    return kept;
}

}  // namespace planora::encode
